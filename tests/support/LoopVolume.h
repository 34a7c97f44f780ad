#pragma once
// A real volume for tests: a small file system image (ext4 or vfat) mounted through
// a loop device at a uniquely named mount point; unmounted and removed with its
// image when the object goes, also when a test fails. Needs root.

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

class LoopVolume {
public:
    enum class Kind { Ext4, Vfat };

    // `label` names the volume; `megabytes` sizes the image; `mkfsOptions` go to mkfs;
    // `mountOptions` join "loop" (e.g. "ro": a read-only device, mounted read-only).
    explicit LoopVolume(const std::string& label, Kind kind = Kind::Ext4, int megabytes = 16,
                        const std::vector<std::string>& mkfsOptions = {}, const std::string& mountOptions = {});
    ~LoopVolume();
    LoopVolume(const LoopVolume&) = delete;
    LoopVolume& operator=(const LoopVolume&) = delete;

    // Whether the running kernel mounts file systems of this kind.
    static bool Supported(Kind kind);

    const std::filesystem::path& MountPoint() const { return mMountPoint; }
    std::filesystem::path operator/(const std::string& relative) const { return mMountPoint / relative; }

private:
    std::filesystem::path mFolder;
    std::filesystem::path mMountPoint;
};

} // namespace testsupport
