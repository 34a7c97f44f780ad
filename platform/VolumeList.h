#pragma once
// The mounted volumes: the file systems that hold data, read from
// /proc/self/mountinfo. "/" is always the startup volume (-100); others are block
// devices, network file systems (server volumes) and fuse file systems, numbered
// -101, -102, ... in mount order and kept for the life of the process while mounted.
// A device mounted twice is one volume, at its first mount point.

#include <sys/types.h>

#include <list>
#include <string>

#include "platform/MacTypes.h"

struct VolumeEntry {
    SInt16 vRefNum = 0;
    dev_t device = 0;
    std::string mountPoint;
    std::string source;
    std::string fsType;
    std::string name; // UTF-8: the label, else the mount point's last component
    bool server = false;
    bool readOnly = false;
    bool hardwareLock = false;
    bool ignoresOwnership = false;
};

class VolumeList {
public:
    static VolumeList& Shared();

    // Re-reads the mount table; numbers of volumes still mounted stay.
    void Refresh();
    // Re-reads it only when it changed since it was last read: a mount, an unmount
    // or a remount (which may change a volume's locks).
    void RefreshIfChanged();

    // The n-th volume (1-based, startup volume first), read afresh for n = 1.
    const VolumeEntry* ByIndex(int n);
    // The volume, checked to be still mounted; 0 stands for the startup volume.
    const VolumeEntry* ByRefNum(SInt16 vRefNum);
    // The volume as last seen, unchecked: for callers that check the device of what
    // they reach through it, and ask ByRefNum when that fails.
    const VolumeEntry* Known(SInt16 vRefNum);
    // The volume that holds `path`.
    const VolumeEntry* ByPath(const std::string& path);

private:
    VolumeList() = default;
    const VolumeEntry* Find(SInt16 vRefNum) const;
    static bool StillMounted(const VolumeEntry& entry);
    bool MountsChanged();

    std::list<VolumeEntry> mVolumes; // entries stay where they are while mounted
    SInt16 mNextRefNum = -101;
    // The mount table, open only to be polled: the kernel flags every change of it.
    int mWatch = -1;
};
