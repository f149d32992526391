// Rich-edit text helpers: cutting wide strings by character range.
#pragma once

#include <string>
#include <string_view>

// The characters of S at the 1-based positions Start to Stop, both included; empty when
// Stop < Start. Positions outside S are clipped to it.
std::u16string WideCopyRange(std::u16string_view s, int start, int stop);
