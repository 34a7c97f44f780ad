#include "app/SetuidRun.h"

#include <unistd.h>

#include <QCoreApplication>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Administrators.h"

extern char** environ;

namespace {

SetuidRun::Outcome sOutcome = SetuidRun::Outcome::NotSetuid;

constexpr const char* kSystemPath = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin";

// Variables that name code or plugins to load, by prefix or whole name ("=" ends a
// whole name).
constexpr const char* kUnsafe[] = {
    "LD_",       "QT_",         "QML_",         "QML2_",          "GCONV_PATH=",  "GIO_",   "GTK_",
    "GDK_",      "GST_",        "LIBGL_",       "__EGL_",         "__GLX_",       "MESA_",  "GBM_",
    "VK_",       "DRI_",        "XCURSOR_PATH=", "NLSPATH=",      "LOCPATH=",     "MALLOC_", "GLIBC_TUNABLES=",
    "HOSTALIASES=", "RES_OPTIONS=", "LOCALDOMAIN=", "ICU_DATA=",  "TMPDIR=",      "IFS=",   "ENV=",
    "BASH_ENV=", "PYTHON",      "PERL",         "GSETTINGS_",     "QTWEBENGINE_", "KDE_",   "DBUS_SYSTEM_BUS_ADDRESS=",
};

// The platform plugin may be chosen by its plain name: it is loaded from the
// system's plugin folder, which nobody but root can change.
Boolean IsPlainPlatformChoice(const char* entry)
{
    constexpr const char* kPlatform = "QT_QPA_PLATFORM=";
    if (std::strncmp(entry, kPlatform, std::strlen(kPlatform)) != 0)
        return false;
    const char* value = entry + std::strlen(kPlatform);
    if (*value == 0)
        return false;
    for (; *value != 0; ++value) {
        if (*value < 'a' || *value > 'z')
            return false;
    }
    return true;
}

void ClearUnsafeEnvironment()
{
    std::vector<std::string> names;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (SetuidRun::IsUnsafeVariable(*entry))
            names.emplace_back(*entry, std::strcspn(*entry, "="));
    }
    for (const std::string& name : names)
        unsetenv(name.c_str());
    setenv("PATH", kSystemPath, 1);
}

Boolean GiveUpPrivileges()
{
    const gid_t gid = getgid();
    const uid_t uid = getuid();
    if (setresgid(gid, gid, gid) != 0 || setresuid(uid, uid, uid) != 0)
        return false;
    // Root's rights must be gone for good, also for a later setuid(0).
    return geteuid() == uid && getegid() == gid && (uid == 0 || setuid(0) != 0);
}

} // namespace

Boolean SetuidRun::IsUnsafeVariable(const char* entry)
{
    if (IsPlainPlatformChoice(entry))
        return false;
    for (const char* unsafe : kUnsafe) {
        const std::size_t length = std::strlen(unsafe);
        if (std::strncmp(entry, unsafe, length) == 0)
            return true;
    }
    return false;
}

Boolean SetuidRun::Prepare()
{
    if (geteuid() != 0 || getuid() == 0) {
        sOutcome = Outcome::NotSetuid;
        return true;
    }
    ClearUnsafeEnvironment();
    if (CallerIsAdministrator()) {
        sOutcome = Outcome::Privileged;
        QCoreApplication::setSetuidAllowed(true);
        return true;
    }
    sOutcome = Outcome::PrivilegesGivenUp;
    return GiveUpPrivileges();
}

SetuidRun::Outcome SetuidRun::GetOutcome()
{
    return sOutcome;
}
