// The program resources of the group "UNICODE": the character tables "TYPE" and "CASE",
// generated at build time and compiled into the program.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The bytes of the resource Name of the group "UNICODE"; empty when there is no such resource.
std::span<const std::uint8_t> FindUnicodeResource(std::string_view name);
