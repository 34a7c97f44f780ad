#include "platform/ExtendedAttributes.h"

#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/PosixError.h"

namespace ExtendedAttributes {

namespace {

bool Unsupported(int error)
{
    return error == ENODATA || error == ENOTSUP || error == EPERM;
}

bool IsACL(const std::string& name)
{
    return name.starts_with("system.posix_acl_");
}

bool IsOther(const std::string& name)
{
    return name != kFinderInfo && name != kResourceFork;
}

OSErr ListNames(const std::string& path, std::vector<std::string>* names)
{
    names->clear();
    // Most items' names fit a small buffer: one call.
    std::string buffer(1024, '\0');
    for (;;) {
        const ssize_t read = llistxattr(path.c_str(), buffer.data(), buffer.size());
        if (read >= 0) {
            buffer.resize(std::size_t(read));
            break;
        }
        if (errno != ERANGE)
            return errno == ENOTSUP ? OSErr(noErr) : OSErrFromErrno(errno);
        // A size of 0 would ask for the size again: the names were removed meanwhile.
        const ssize_t size = llistxattr(path.c_str(), nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP ? OSErr(noErr) : OSErrFromErrno(errno);
        buffer.resize(std::size_t(size));
        if (size == 0)
            break;
    }
    for (std::size_t start = 0; start < buffer.size();) {
        const std::size_t end = buffer.find('\0', start);
        names->push_back(buffer.substr(start, end - start));
        start = end == std::string::npos ? buffer.size() : end + 1;
    }
    return noErr;
}

} // namespace

OSErr Get(const std::string& path, const char* name, std::optional<std::string>* value)
{
    value->reset();
    // Most values (the Finder information among them) fit a small buffer: one call.
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t read = lgetxattr(path.c_str(), name, buffer.data(), buffer.size());
        if (read >= 0) {
            buffer.resize(std::size_t(read));
            *value = std::move(buffer);
            return noErr;
        }
        if (errno != ERANGE)
            return Unsupported(errno) ? OSErr(noErr) : OSErrFromErrno(errno);
        const ssize_t size = lgetxattr(path.c_str(), name, nullptr, 0);
        if (size < 0)
            return Unsupported(errno) ? OSErr(noErr) : OSErrFromErrno(errno);
        buffer.resize(std::size_t(size));
    }
}

OSErr Set(const std::string& path, const char* name, const std::optional<std::string>& value)
{
    if (!value) {
        if (lremovexattr(path.c_str(), name) != 0 && !Unsupported(errno))
            return OSErrFromErrno(errno);
        return noErr;
    }
    if (lsetxattr(path.c_str(), name, value->data(), value->size(), 0) == 0)
        return noErr;
    // The kernel says "no space" or "too big" when a value exceeds what one attribute may hold.
    if (errno == ENOSPC || errno == E2BIG)
        return fsDataTooBigErr;
    return OSErrFromErrno(errno);
}

UInt64 SizeOf(const std::string& path, const char* name)
{
    const ssize_t size = lgetxattr(path.c_str(), name, nullptr, 0);
    return size < 0 ? 0 : UInt64(size);
}

OSErr ReadOthers(const std::string& path, std::vector<ExtendedAttribute>* attributes)
{
    attributes->clear();
    std::vector<std::string> names;
    if (const OSErr err = ListNames(path, &names))
        return err;
    std::stable_partition(names.begin(), names.end(), [](const std::string& name) { return !IsACL(name); });
    for (const std::string& name : names) {
        if (!IsOther(name))
            continue;
        std::optional<std::string> value;
        if (const OSErr err = Get(path, name.c_str(), &value))
            return err;
        if (value)
            attributes->push_back(ExtendedAttribute{name, std::move(*value)});
    }
    return noErr;
}

OSErr WriteOthers(const std::string& path, const std::vector<ExtendedAttribute>& attributes)
{
    std::vector<std::string> present;
    if (const OSErr err = ListNames(path, &present))
        return err;
    OSErr result = noErr;
    for (const std::string& name : present) {
        const bool kept = std::any_of(attributes.begin(), attributes.end(),
                                      [&](const ExtendedAttribute& attribute) { return attribute.name == name; });
        if (IsOther(name) && !kept) {
            if (const OSErr err = Set(path, name.c_str(), std::nullopt); err && !result)
                result = err;
        }
    }
    for (const ExtendedAttribute& attribute : attributes) {
        if (lsetxattr(path.c_str(), attribute.name.c_str(), attribute.value.data(), attribute.value.size(), 0) != 0 &&
            errno != ENOTSUP && !result)
            result = errno == ENOSPC || errno == E2BIG ? OSErr(fsDataTooBigErr) : OSErrFromErrno(errno);
    }
    return result;
}

} // namespace ExtendedAttributes
