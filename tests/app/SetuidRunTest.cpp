// Which variables a privileged run removes from its environment: those that make the
// process load code, plugins or data that steer it; the platform plugin only by its
// plain name.

#include <gtest/gtest.h>

#include "app/SetuidRun.h"

namespace {

TEST(SetuidRun, UnsafeVariablesAreThoseThatLoadCode)
{
    const struct {
        const char* entry;
        bool unsafe;
    } cases[] = {
        {"LD_PRELOAD=/tmp/evil.so", true},
        {"LD_LIBRARY_PATH=/tmp", true},
        {"QT_PLUGIN_PATH=/tmp/plugins", true},
        {"QT_QPA_PLATFORM_PLUGIN_PATH=/tmp", true},
        {"QT_QPA_PLATFORMTHEME=gtk3", true},
        {"QT_QPA_PLATFORM=offscreen", false},
        {"QT_QPA_PLATFORM=xcb", false},
        {"QT_QPA_PLATFORM=offscreen:configfile=/tmp/x", true},
        {"QT_QPA_PLATFORM=", true},
        {"QML2_IMPORT_PATH=/tmp", true},
        {"GCONV_PATH=/tmp", true},
        {"GCONV_PATHWAY=1", false},
        {"GTK_MODULES=evil", true},
        {"GIO_MODULE_DIR=/tmp", true},
        {"LIBGL_DRIVERS_PATH=/tmp", true},
        {"__EGL_VENDOR_LIBRARY_DIRS=/tmp", true},
        {"GLIBC_TUNABLES=x", true},
        {"HOME=/home/user", false},
        {"DISPLAY=:0", false},
        {"XDG_RUNTIME_DIR=/run/user/1000", false},
        {"LANG=en_US.UTF-8", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetuidRun::IsUnsafeVariable(c.entry), c.unsafe) << c.entry;
}

} // namespace
