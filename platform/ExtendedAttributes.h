#pragma once
// An item's extended attributes: the Finder information and the resource fork in
// their two attributes of the user namespace, and all the others (ACLs among them)
// as one list. Nothing here follows a symbolic link.

#include <optional>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace ExtendedAttributes {

inline constexpr const char* kFinderInfo = "user.com.apple.FinderInfo";
inline constexpr const char* kResourceFork = "user.com.apple.ResourceFork";

// The attribute's value; none when absent or not supported. Fails only on other errors.
OSErr Get(const std::string& path, const char* name, std::optional<std::string>* value);
// Sets `value`; an empty optional removes the attribute (absent already is fine).
// Too large a value is fsDataTooBigErr, never a full disk; a file system without
// extended attributes gives extFSErr.
OSErr Set(const std::string& path, const char* name, const std::optional<std::string>& value);
// The size of the attribute's value; 0 when absent.
UInt64 SizeOf(const std::string& path, const char* name);

// Every attribute but the Finder information and the resource fork, ACLs last.
OSErr ReadOthers(const std::string& path, std::vector<ExtendedAttribute>* attributes);
// Makes the item's other attributes exactly `attributes`, in their order; an item or
// file system that cannot hold them (a symbolic link, vfat) is left as it is.
OSErr WriteOthers(const std::string& path, const std::vector<ExtendedAttribute>& attributes);

} // namespace ExtendedAttributes
