#include "platform/Security.h"

#include <grp.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace Platform {

namespace {

bool InGroup(const char* name, const std::vector<gid_t>& groups)
{
    const group* g = ::getgrnam(name);
    if (g == nullptr)
        return false;
    for (gid_t id : groups)
        if (id == g->gr_gid)
            return true;
    return false;
}

}  // namespace

bool IsUserAdministrator()
{
    if (const char* forced = std::getenv("LEXORA_ADMIN"); forced != nullptr && *forced != '\0')
        return std::strcmp(forced, "0") != 0;
    if (::geteuid() == 0)
        return true;
    const int n = ::getgroups(0, nullptr);
    if (n < 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(n) + 1);
    const int got = ::getgroups(static_cast<int>(groups.size()), groups.data());
    if (got < 0)
        return false;
    groups.resize(static_cast<std::size_t>(got));
    groups.push_back(::getegid());
    return InGroup("sudo", groups) || InGroup("admin", groups) || InGroup("wheel", groups);
}

}  // namespace Platform
