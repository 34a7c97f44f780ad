#pragma once
// A copy of the built AuthorizationBundle in a test folder, with the real
// RootActionTool or a spy in its place.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/filesystem/FileObjectTestSupport.h"
#include "tests/tools/RootRequestHelpers.h"

namespace privilegestest {

using fileobjecttest::SpecOf;

inline void SetOwnerAndMode(const std::filesystem::path& path, uid_t uid, mode_t mode)
{
    ASSERT_EQ(chown(path.c_str(), uid, gid_t(-1)), 0) << path;
    ASSERT_EQ(chmod(path.c_str(), mode), 0) << path;
}

// AuthorizationBundle.bundle inside `folder`: the built executable, and an empty
// Resources folder for the tool.
inline std::filesystem::path CopyBundle(const std::filesystem::path& folder)
{
    const std::filesystem::path bundle = folder / "AuthorizationBundle.bundle";
    std::filesystem::create_directories(bundle / "Contents/MacOS");
    std::filesystem::create_directories(bundle / "Contents/Resources");
    std::filesystem::copy_file(testsupport::AuthorizationBundlePath() / "Contents/MacOS/AuthorizationBundle",
                               bundle / "Contents/MacOS/AuthorizationBundle",
                               std::filesystem::copy_options::overwrite_existing);
    return bundle;
}

inline std::filesystem::path ToolIn(const std::filesystem::path& bundle)
{
    return bundle / "Contents/Resources/RootActionTool";
}

// The real tool, with the given owner and mode.
inline std::filesystem::path CopyTool(const std::filesystem::path& bundle, uid_t uid, mode_t mode)
{
    const std::filesystem::path tool = ToolIn(bundle);
    std::filesystem::copy_file(testsupport::RootActionToolPath(), tool,
                               std::filesystem::copy_options::overwrite_existing);
    SetOwnerAndMode(tool, uid, mode);
    return tool;
}

// A tool that only notes each start in `record`: its arguments, then the request it
// read (a self-repair reads none).
inline std::filesystem::path WriteSpyTool(const std::filesystem::path& bundle, const std::filesystem::path& record,
                                          uid_t uid, mode_t mode)
{
    const std::filesystem::path tool = ToolIn(bundle);
    const std::string script = "#!/bin/sh\n"
                               "printf '%s\\n' \"$*\" >> '" + record.string() + "'\n"
                               "case \"$*\" in *--self-repair) ;; *) /bin/cat >> '" + record.string() + "' ;; esac\n";
    std::ofstream(tool, std::ios::binary | std::ios::trunc) << script;
    SetOwnerAndMode(tool, uid, mode);
    return tool;
}

} // namespace privilegestest
