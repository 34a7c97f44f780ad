#include "platform/ForkTable.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/ExtendedAttributes.h"
#include "platform/PosixError.h"

ForkTable& ForkTable::Shared()
{
    static ForkTable table;
    return table;
}

ForkTable::Fork* ForkTable::Find(SInt16 refNum)
{
    const auto it = mForks.find(refNum);
    return it == mForks.end() ? nullptr : &it->second;
}

OSErr ForkTable::Open(const CatalogItem& item, bool resource, SInt8 permission, SInt16* refNum)
{
    if (!refNum)
        return paramErr;
    if (item.IsFolder())
        return notAFileErr;
    Fork fork;
    fork.path = item.path;
    fork.resource = resource;
    const bool regular = S_ISREG(item.info.st_mode);
    fork.writable = regular && permission != fsRdPerm;
    if (permission != fsRdPerm && permission != fsCurPerm && !regular)
        return wrPermErr;
    if (resource) {
        std::optional<std::string> contents;
        if (regular) {
            if (const OSErr err = ExtendedAttributes::Get(item.path, ExtendedAttributes::kResourceFork, &contents))
                return err;
        }
        fork.contents = contents.value_or("");
    } else if (regular) {
        const int access = permission == fsRdPerm ? O_RDONLY : O_RDWR;
        fork.fd = open(item.path.c_str(), access | O_NOFOLLOW | O_CLOEXEC);
        if (fork.fd < 0 && permission == fsCurPerm && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            fork.fd = open(item.path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
            fork.writable = false;
        }
        if (fork.fd < 0)
            return OSErrFromErrno(errno);
    } else if (S_ISLNK(item.info.st_mode)) {
        char target[PATH_MAX];
        const ssize_t length = readlink(item.path.c_str(), target, sizeof target);
        if (length < 0)
            return OSErrFromErrno(errno);
        fork.contents.assign(target, std::size_t(length));
    }
    if (mForks.size() >= 0x7FFF)
        return tmfoErr;
    while (mForks.contains(mNextRefNum) || mNextRefNum <= 0)
        mNextRefNum = SInt16(mNextRefNum <= 0 ? 1 : mNextRefNum + 1);
    *refNum = mNextRefNum++;
    mForks.emplace(*refNum, std::move(fork));
    return noErr;
}

SInt64 ForkTable::Size(const Fork& fork) const
{
    if (fork.fd < 0)
        return SInt64(fork.contents.size());
    struct stat info;
    return fstat(fork.fd, &info) == 0 ? SInt64(info.st_size) : 0;
}

OSErr ForkTable::Place(const Fork& fork, UInt16 positionMode, SInt64 offset, SInt64* position) const
{
    switch (positionMode & 0x3) {
    case fsAtMark:
        *position = fork.position;
        break;
    case fsFromStart:
        *position = offset;
        break;
    case fsFromLEOF:
        *position = Size(fork) + offset;
        break;
    default:
        *position = fork.position + offset;
        break;
    }
    return *position < 0 ? OSErr(posErr) : OSErr(noErr);
}

OSErr ForkTable::ReplaceContents(Fork& fork, std::string contents) const
{
    const auto value = contents.empty() ? std::nullopt : std::optional<std::string>(contents);
    if (const OSErr err = ExtendedAttributes::Set(fork.path, ExtendedAttributes::kResourceFork, value))
        return err;
    fork.contents = std::move(contents);
    return noErr;
}

OSErr ForkTable::Read(SInt16 refNum, UInt16 positionMode, SInt64 offset, UInt32 count, void* buffer, UInt32* actual)
{
    Fork* fork = Find(refNum);
    if (!fork)
        return rfNumErr;
    UInt32 done = 0;
    OSErr err = Place(*fork, positionMode, offset, &fork->position);
    if (!err && fork->fd >= 0) {
        while (done < count) {
            const ssize_t read = pread(fork->fd, static_cast<char*>(buffer) + done, count - done, fork->position + done);
            if (read < 0 && errno == EINTR)
                continue;
            if (read < 0)
                err = OSErrFromErrno(errno);
            if (read <= 0)
                break;
            done += UInt32(read);
        }
    } else if (!err && fork->position < SInt64(fork->contents.size())) {
        done = UInt32(std::min<SInt64>(count, SInt64(fork->contents.size()) - fork->position));
        std::memcpy(buffer, fork->contents.data() + fork->position, done);
    }
    fork->position += done;
    if (actual)
        *actual = done;
    return err ? err : done < count ? OSErr(eofErr) : OSErr(noErr);
}

OSErr ForkTable::Write(SInt16 refNum, UInt16 positionMode, SInt64 offset, UInt32 count, const void* buffer,
                       UInt32* actual)
{
    Fork* fork = Find(refNum);
    if (!fork)
        return rfNumErr;
    if (!fork->writable)
        return wrPermErr;
    UInt32 done = 0;
    OSErr err = Place(*fork, positionMode, offset, &fork->position);
    if (!err && fork->fd >= 0) {
        while (done < count) {
            const ssize_t written = pwrite(fork->fd, static_cast<const char*>(buffer) + done, count - done,
                                           fork->position + done);
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0) {
                err = OSErrFromErrno(errno);
                break;
            }
            done += UInt32(written);
        }
    } else if (!err) {
        std::string contents = fork->contents;
        if (SInt64(contents.size()) < fork->position + count)
            contents.resize(std::size_t(fork->position + count), '\0');
        std::memcpy(contents.data() + fork->position, buffer, count);
        err = ReplaceContents(*fork, std::move(contents));
        if (!err)
            done = count;
    }
    fork->position += done;
    if (actual)
        *actual = done;
    return err;
}

OSErr ForkTable::GetSize(SInt16 refNum, SInt64* size)
{
    const Fork* fork = Find(refNum);
    if (!fork)
        return rfNumErr;
    *size = Size(*fork);
    return noErr;
}

OSErr ForkTable::SetSize(SInt16 refNum, UInt16 positionMode, SInt64 offset)
{
    Fork* fork = Find(refNum);
    if (!fork)
        return rfNumErr;
    if (!fork->writable)
        return wrPermErr;
    SInt64 size = 0;
    if (const OSErr err = Place(*fork, positionMode, offset, &size))
        return err;
    if (fork->fd >= 0) {
        if (ftruncate(fork->fd, size) != 0)
            return OSErrFromErrno(errno);
    } else {
        std::string contents = fork->contents;
        contents.resize(std::size_t(size), '\0');
        if (const OSErr err = ReplaceContents(*fork, std::move(contents)))
            return err;
    }
    fork->position = std::min(fork->position, size);
    return noErr;
}

OSErr ForkTable::GetPosition(SInt16 refNum, SInt64* position)
{
    const Fork* fork = Find(refNum);
    if (!fork)
        return rfNumErr;
    *position = fork->position;
    return noErr;
}

OSErr ForkTable::SetPosition(SInt16 refNum, UInt16 positionMode, SInt64 offset)
{
    Fork* fork = Find(refNum);
    if (!fork)
        return rfNumErr;
    SInt64 position = 0;
    if (const OSErr err = Place(*fork, positionMode, offset, &position))
        return err;
    fork->position = std::min(position, Size(*fork));
    return position > Size(*fork) ? OSErr(eofErr) : OSErr(noErr);
}

OSErr ForkTable::Close(SInt16 refNum)
{
    const auto it = mForks.find(refNum);
    if (it == mForks.end())
        return rfNumErr;
    const int status = it->second.fd >= 0 ? close(it->second.fd) : 0;
    mForks.erase(it);
    return status == 0 ? OSErr(noErr) : OSErrFromErrno(errno);
}

OSErr ForkTable::CopyRange(SInt16 fromRefNum, SInt16 toRefNum, SInt64 offset, UInt32 count)
{
    Fork* from = Find(fromRefNum);
    Fork* to = Find(toRefNum);
    if (!from || !to)
        return rfNumErr;
    if (from->fd < 0 || to->fd < 0)
        return paramErr;
    if (!to->writable)
        return wrPermErr;
    const off_t end = offset + count;
    for (off_t position = offset; position < end;) {
        off_t data = lseek(from->fd, position, SEEK_DATA);
        if (data < 0 && errno != ENXIO)
            return OSErrFromErrno(errno);
        if (data < 0 || data >= end)
            break;
        off_t hole = lseek(from->fd, data, SEEK_HOLE);
        hole = hole < 0 ? end : std::min(hole, end);
        loff_t in = data;
        loff_t out = data;
        while (in < hole) {
            const ssize_t copied = copy_file_range(from->fd, &in, to->fd, &out, std::size_t(hole - in), 0);
            if (copied < 0 && errno == EINTR)
                continue;
            if (copied < 0 && (errno == EXDEV || errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL))
                return paramErr;
            if (copied < 0)
                return OSErrFromErrno(errno);
            // The source ended early: it shrank while being copied.
            if (copied == 0)
                return eofErr;
        }
        position = hole;
    }
    from->position = end;
    to->position = end;
    return noErr;
}
