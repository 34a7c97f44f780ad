#include "platform/VolumeList.h"

#include <blkid/blkid.h>
#include <fcntl.h>
#include <libmount/libmount.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <set>

#include "platform/Files.h"

namespace {

const std::set<std::string> kServerTypes = {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"};
const std::set<std::string> kOwnerlessTypes = {"vfat", "exfat", "ntfs", "ntfs3", "fuseblk", "iso9660", "msdos"};

bool HoldsData(const std::string& target, const std::string& source, const std::string& type)
{
    return target == "/" || source.starts_with("/dev/") || kServerTypes.contains(type) || type.starts_with("fuse");
}

bool ReadOnlyDevice(dev_t device)
{
    std::ifstream flag("/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device)) + "/ro");
    char value = '0';
    return flag >> value && value == '1';
}

bool HasOption(const char* options, const char* name)
{
    return options && mnt_optstr_get_option(options, name, nullptr, nullptr) == 0;
}

// The label read from the device itself: the blkid cache may still hold the label
// of an earlier file system on the same device (a reused loop device).
std::string DeviceLabel(const std::string& source)
{
    blkid_probe probe = blkid_new_probe_from_filename(source.c_str());
    if (!probe)
        return {};
    std::string label;
    const char* value = nullptr;
    if (blkid_do_safeprobe(probe) == 0 && blkid_probe_lookup_value(probe, "LABEL", &value, nullptr) == 0 && value)
        label = value;
    blkid_free_probe(probe);
    return label;
}

std::string VolumeName(const std::string& target, const std::string& source)
{
    if (source.starts_with("/dev/")) {
        if (std::string label = DeviceLabel(source); !label.empty())
            return label;
    }
    if (target == "/") {
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        return host;
    }
    return target.substr(target.rfind('/') + 1);
}

} // namespace

VolumeList& VolumeList::Shared()
{
    static VolumeList list;
    return list;
}

void VolumeList::Refresh()
{
    // Watched from before it is read, so a change made while reading shows next time.
    if (mWatch < 0)
        mWatch = open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    else
        MountsChanged();
    std::unique_ptr<libmnt_table, decltype(&mnt_unref_table)> table(mnt_new_table_from_file("/proc/self/mountinfo"),
                                                                     &mnt_unref_table);
    std::vector<VolumeEntry> found;
    if (table) {
        libmnt_iter* iter = mnt_new_iter(MNT_ITER_FORWARD);
        libmnt_fs* fs = nullptr;
        while (mnt_table_next_fs(table.get(), iter, &fs) == 0) {
            const char* target = mnt_fs_get_target(fs);
            const char* source = mnt_fs_get_source(fs);
            const char* type = mnt_fs_get_fstype(fs);
            VolumeEntry entry;
            entry.mountPoint = target ? target : "";
            entry.source = source ? source : "";
            entry.fsType = type ? type : "";
            if (!HoldsData(entry.mountPoint, entry.source, entry.fsType))
                continue;
            entry.device = mnt_fs_get_devno(fs);
            const bool duplicate = std::any_of(found.begin(), found.end(),
                                               [&](const VolumeEntry& other) { return other.device == entry.device; });
            if (duplicate && entry.mountPoint != "/")
                continue;
            // "/" comes first whatever the mount order, and wins over another mount of its device.
            if (duplicate)
                std::erase_if(found, [&](const VolumeEntry& other) { return other.device == entry.device; });
            const char* fsOptions = mnt_fs_get_fs_options(fs);
            const char* vfsOptions = mnt_fs_get_vfs_options(fs);
            entry.server = kServerTypes.contains(entry.fsType);
            entry.readOnly = HasOption(vfsOptions, "ro") || HasOption(fsOptions, "ro");
            entry.hardwareLock = entry.source.starts_with("/dev/") && ReadOnlyDevice(entry.device);
            entry.ignoresOwnership = kOwnerlessTypes.contains(entry.fsType) ||
                                     (!entry.fsType.starts_with("fuse") &&
                                      (HasOption(fsOptions, "uid") || HasOption(fsOptions, "gid")));
            if (entry.mountPoint == "/")
                found.insert(found.begin(), std::move(entry));
            else
                found.push_back(std::move(entry));
        }
        mnt_free_iter(iter);
    }
    // Volumes still mounted keep their entry, number and name; new ones follow.
    std::erase_if(mVolumes, [&](const VolumeEntry& old) {
        return std::none_of(found.begin(), found.end(), [&](const VolumeEntry& entry) {
            return old.device == entry.device && old.mountPoint == entry.mountPoint;
        });
    });
    for (VolumeEntry& entry : found) {
        const auto known = std::find_if(mVolumes.begin(), mVolumes.end(), [&](const VolumeEntry& old) {
            return old.device == entry.device && old.mountPoint == entry.mountPoint;
        });
        if (known != mVolumes.end()) {
            // A remount may have changed its locks.
            known->readOnly = entry.readOnly;
            known->hardwareLock = entry.hardwareLock;
            known->ignoresOwnership = entry.ignoresOwnership;
            continue;
        }
        entry.vRefNum = entry.mountPoint == "/" ? SInt16(kStartupVolumeRefNum) : mNextRefNum--;
        entry.name = VolumeName(entry.mountPoint, entry.source);
        if (entry.mountPoint == "/")
            mVolumes.push_front(std::move(entry));
        else
            mVolumes.push_back(std::move(entry));
    }
}

// Each poll answers whether the table changed since the previous one.
bool VolumeList::MountsChanged()
{
    pollfd watch{mWatch, POLLPRI, 0};
    return mWatch < 0 || poll(&watch, 1, 0) != 0;
}

void VolumeList::RefreshIfChanged()
{
    if (MountsChanged())
        Refresh();
}

const VolumeEntry* VolumeList::Known(SInt16 vRefNum)
{
    if (const VolumeEntry* entry = Find(vRefNum == 0 ? SInt16(kStartupVolumeRefNum) : vRefNum))
        return entry;
    return ByRefNum(vRefNum);
}

const VolumeEntry* VolumeList::Find(SInt16 vRefNum) const
{
    const auto it = std::find_if(mVolumes.begin(), mVolumes.end(),
                                 [vRefNum](const VolumeEntry& entry) { return entry.vRefNum == vRefNum; });
    return it == mVolumes.end() ? nullptr : &*it;
}

bool VolumeList::StillMounted(const VolumeEntry& entry)
{
    struct stat info;
    return stat(entry.mountPoint.c_str(), &info) == 0 && info.st_dev == entry.device;
}

const VolumeEntry* VolumeList::ByIndex(int n)
{
    if (n == 1 || mVolumes.empty())
        Refresh();
    if (n < 1 || std::size_t(n) > mVolumes.size())
        return nullptr;
    return &*std::next(mVolumes.begin(), n - 1);
}

const VolumeEntry* VolumeList::ByRefNum(SInt16 vRefNum)
{
    if (vRefNum == 0)
        vRefNum = kStartupVolumeRefNum;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (const VolumeEntry* entry = Find(vRefNum); entry && StillMounted(*entry))
            return entry;
        Refresh();
    }
    return nullptr;
}

const VolumeEntry* VolumeList::ByPath(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return nullptr;
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (const VolumeEntry& entry : mVolumes) {
            if (entry.device == info.st_dev && StillMounted(entry))
                return &entry;
        }
        Refresh();
    }
    return nullptr;
}
