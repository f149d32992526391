// Operating-system tests of the start-up.
#pragma once

namespace Platform {

// The system the program runs on is supported (it stands in for the NT family).
bool IsSupportedWindows();
// Only for the 32-bit toolbar icons of one old system family; never that family here.
bool IsWindowsXPFamily();

}  // namespace Platform
