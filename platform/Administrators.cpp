#include "platform/Administrators.h"

#include <grp.h>
#include <unistd.h>

#include <optional>
#include <vector>

namespace {

std::optional<gid_t> AdministratorsGroup()
{
    for (const char* name : {"sudo", "wheel", "admin"}) {
        if (const struct group* entry = getgrnam(name))
            return entry->gr_gid;
    }
    return std::nullopt;
}

} // namespace

Boolean CallerIsAdministrator()
{
    if (getuid() == 0)
        return true;
    const std::optional<gid_t> administrators = AdministratorsGroup();
    if (!administrators)
        return false;
    if (getgid() == *administrators || getegid() == *administrators)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int read = getgroups(count, groups.data());
    for (int i = 0; i < read; ++i) {
        if (groups[std::size_t(i)] == *administrators)
            return true;
    }
    return false;
}
