#include "platform/SystemInfo.h"

namespace Platform {

bool IsSupportedWindows()
{
    return true;
}

bool IsWindowsXPFamily()
{
    return false;
}

}  // namespace Platform
