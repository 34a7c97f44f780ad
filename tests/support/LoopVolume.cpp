#include "tests/support/LoopVolume.h"

#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/TestSupport.h"

namespace testsupport {

LoopVolume::LoopVolume(const std::string& label, Kind kind, int megabytes, const std::vector<std::string>& mkfsOptions,
                       const std::string& mountOptions)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "varno-volume-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    mFolder = pattern;
    // Tests run programs as other users, who must reach the volume.
    chmod(mFolder.c_str(), 0755);
    mMountPoint = mFolder / label;
    std::filesystem::create_directory(mMountPoint);
    const std::string image = (mFolder / "image").string();
    if (RunProcess({"truncate", "-s", std::to_string(megabytes) + "M", image}).exitStatus != 0)
        throw std::runtime_error("cannot create the image");
    std::vector<std::string> mkfs = kind == Kind::Ext4 ? std::vector<std::string>{"mkfs.ext4", "-q", "-F", "-b", "4096", "-L", label}
                                                       : std::vector<std::string>{"mkfs.vfat", "-n", label};
    mkfs.insert(mkfs.end(), mkfsOptions.begin(), mkfsOptions.end());
    mkfs.push_back(image);
    const ProcessResult made = RunProcess(mkfs);
    if (made.exitStatus != 0)
        throw std::runtime_error("mkfs failed: " + made.output);
    const ProcessResult mounted = RunProcess({"mount", "-o", mountOptions.empty() ? "loop" : "loop," + mountOptions, image, mMountPoint.string()});
    if (mounted.exitStatus != 0)
        throw std::runtime_error("mount failed: " + mounted.output);
}

bool LoopVolume::Supported(Kind kind)
{
    const std::string wanted = kind == Kind::Ext4 ? "\text4" : "\tvfat";
    const std::string known = ReadFile("/proc/filesystems");
    return known.find(wanted + "\n") != std::string::npos;
}

LoopVolume::~LoopVolume()
{
    if (umount2(mMountPoint.c_str(), 0) != 0)
        umount2(mMountPoint.c_str(), MNT_DETACH);
    std::error_code ignored;
    std::filesystem::remove_all(mFolder, ignored);
}

} // namespace testsupport
