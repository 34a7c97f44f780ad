// RootActionTool: set-uid root, changes owners, groups and modes of files for Varno.
// Self-repair: `RootActionTool <file> --self-repair`. Otherwise one RootRequest on
// standard input. The outcome is the exit status; nothing is printed.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <optional>

#include "platform/AccessWord.h"
#include "platform/Administrators.h"
#include "tools/RootRequest.h"

namespace {

constexpr mode_t kKeptModeBits = 0177000; // file type, set-uid, set-gid, sticky
constexpr mode_t kPermissionBits = 07777;

// An open file with the exclusive lock that keeps a second open of it out.
class LockedFile {
public:
    explicit LockedFile(const char* path, std::size_t capacity)
    {
        // A path without its NUL inside the field is no path at all.
        if (std::memchr(path, '\0', capacity) == nullptr)
            return;
        mFD = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        // Linux has no lock-at-open flag: a lock that cannot be had at once fails the open.
        if (mFD >= 0 && flock(mFD, LOCK_EX | LOCK_NB) != 0) {
            close(mFD);
            mFD = -1;
        }
    }
    ~LockedFile()
    {
        if (mFD >= 0)
            close(mFD);
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    bool IsOpen() const { return mFD >= 0; }
    int FD() const { return mFD; }

private:
    int mFD = -1;
};

// Changes owner and group only where they differ: restating them would make the
// kernel clear the set-uid and set-gid bits and the file capabilities.
void ChangeOwner(int fd, const struct stat& current, uid_t uid, gid_t gid)
{
    const uid_t newUid = uid == current.st_uid ? uid_t(-1) : uid;
    const gid_t newGid = gid == current.st_gid ? gid_t(-1) : gid;
    if (newUid != uid_t(-1) || newGid != gid_t(-1))
        (void)fchown(fd, newUid, newGid);
}

// Opens and locks the file, reads its status and hands both to `change`.
template <typename Change>
int ChangeFile(const char* path, std::size_t capacity, Change change)
{
    LockedFile file(path, capacity);
    if (!file.IsOpen())
        return kRootCannotOpen;
    struct stat status;
    if (fstat(file.FD(), &status) != 0)
        return kRootCannotStat;
    change(file.FD(), status);
    return kRootDone;
}

// Root-owned, set-uid, 0755; set-gid and sticky stay.
int SelfRepair(const char* path, std::size_t capacity)
{
    return ChangeFile(path, capacity, [](int fd, const struct stat& status) {
        if (status.st_uid != 0)
            (void)fchown(fd, 0, gid_t(-1));
        (void)fchmod(fd, ((status.st_mode & ~mode_t(0022)) | 04755) & kPermissionBits);
    });
}

// "suid", "clea" and "acce": a new mode computed from the old one.
template <typename NewMode>
int ChangeMode(const char* path, NewMode newMode)
{
    return ChangeFile(path, kRootPathSize, [&](int fd, const struct stat& status) {
        (void)fchmod(fd, newMode(status.st_mode) & kPermissionBits);
    });
}

// "setp" (second == nullptr) and "copy": owner, group and permissions from the first
// file and the action, applied to the target.
int SetPermissions(const RootRequest& request, bool copy)
{
    LockedFile first(request.path, kRootPathSize);
    if (!first.IsOpen())
        return kRootCannotOpen;
    struct stat status;
    if (fstat(first.FD(), &status) != 0)
        return kRootCannotStat;

    // The target's own owner is read only to leave unchanged ids alone (see ChangeOwner).
    std::optional<LockedFile> second;
    struct stat targetStatus = status;
    int target = first.FD();
    if (copy) {
        second.emplace(request.secondPath, kRootPathSize);
        if (!second->IsOpen())
            return kRootCannotOpen;
        target = second->FD();
        if (fstat(target, &targetStatus) != 0)
            return kRootCannotStat;
    }

    const RootAction& action = request.action;
    const uid_t uid = (action.mask & kRootMaskUser) ? action.uid : status.st_uid;
    const gid_t gid = (action.mask & kRootMaskGroup) ? action.gid : status.st_gid;
    ChangeOwner(target, targetStatus, uid, gid);
    if (action.mask & kRootMaskValue) {
        const mode_t mode = (status.st_mode & kKeptModeBits) | AccessWord::ToMode(UInt32(action.value));
        (void)fchmod(target, mode & kPermissionBits);
    }
    return kRootDone;
}

int ServeRequest()
{
    if (geteuid() != 0)
        return kRootNotRoot;
    // Set-uid root lets anyone run the tool; it serves only whoever could become root anyway.
    if (!CallerIsAdministrator())
        return kRootNotAdministrator;

    RootRequestBytes bytes;
    if (read(STDIN_FILENO, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
        return kRootShortRequest;
    const RootRequest request = DecodeRootRequest(bytes);

    switch (request.selector) {
    case kRootSelectorSelfRepair:
        return SelfRepair(request.path, kRootPathSize);
    case kRootSelectorSetuid:
        return ChangeMode(request.path, [&](mode_t mode) {
            return (mode & ~mode_t(04000)) | (request.action.value != 0 ? mode_t(04000) : 0);
        });
    case kRootSelectorClearSetuid:
        return ChangeMode(request.path, [](mode_t mode) { return mode & ~mode_t(04000); });
    case kRootSelectorOpenAccess:
        return ChangeMode(request.path, [](mode_t mode) { return mode | 0066; });
    case kRootSelectorSetPermissions:
        return SetPermissions(request, false);
    case kRootSelectorCopyPermissions:
        return SetPermissions(request, true);
    default:
        return kRootUnknownSelector;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[2], "--self-repair") == 0) {
        // The same guard as requests: otherwise anyone could make any file set-uid root.
        if (!CallerIsAdministrator())
            return kRootNotAdministrator;
        return SelfRepair(argv[1], std::strlen(argv[1]) + 1);
    }
    return ServeRequest();
}
