#pragma once
// Names between the three forms the platform shows and the bytes on disk.
// On disk a name is bytes, normally UTF-8. Its Unicode name is that text in UTF-16
// with ":" shown as "/" (a "/" of a Unicode name is stored as ":"). Its long name is
// the Unicode name, normalised to NFC, in Mac Roman, else in Mac Japanese (CP932 with
// the single bytes where Mac Japanese differs mapped by hand). Its catalog name is the
// long name when it fits in 31 bytes, else a short form: a prefix, "#", the node ID
// in hex and the extension.

#include <optional>
#include <string>
#include <string_view>

#include "platform/MacTypes.h"

namespace MacNames {

constexpr std::size_t kCatalogNameLimit = 31;
constexpr std::size_t kLongNameLimit = 255;
constexpr std::size_t kUnicodeNameLimit = 255;

// The Unicode name of on-disk `bytes`; bytes that are not UTF-8 become the lone
// surrogates U+DC80..U+DCFF, which lead back to them. None when empty.
std::optional<std::u16string> UnicodeFromDisk(std::string_view bytes);

// The on-disk bytes of a Unicode name, kept as given (not normalised); none for an
// empty name, ".", "..", a ":" or NUL in it, or other lone surrogates.
std::optional<std::string> DiskFromUnicode(std::u16string_view name);

std::u16string NormalizedNFC(std::u16string_view text);
std::u16string NormalizedNFD(std::u16string_view text);

// `text` in Mac Roman, else Mac Japanese; none when neither holds every character
// or the result is longer than `limit` bytes.
std::optional<std::string> LongNameFromUnicode(std::u16string_view text, std::size_t limit = kLongNameLimit);

// Mac Roman text, which always converts.
std::u16string UnicodeFromMacRoman(std::string_view text);

// The Unicode text of a name given in a Pascal string: a name this process made that
// does not read as Mac Roman (a long name in Mac Japanese, a short form) goes back to
// the text it stands for, as an HFS+ name's encoding hint would lead it back, so a
// copy given the name of its source gets the source's own name. Any other name, and
// one that two texts made, is Mac Roman.
std::u16string UnicodeFromMacName(std::string_view name);
// Notes that `name` was made from `text`, for UnicodeFromMacName.
void RememberMadeName(const std::string& name, std::u16string_view text);

// One character in Mac Roman (encoding 0) or Mac Japanese (1); none when it has none.
std::optional<std::string> EncodeCharacter(char32_t c, UInt32 encoding);
// Mac Japanese text in UTF-16; bytes without a character become U+FFFD and set
// `usedFallbacks`.
std::u16string UnicodeFromMacJapanese(std::string_view text, bool* usedFallbacks);

// The long name of on-disk `bytes`, none when it has none.
std::optional<std::string> LongNameFromDisk(std::string_view bytes);

// The short catalog form for an item whose long name is `longName` (none when it has
// none) and whose on-disk name is `bytes`.
std::string ShortCatalogName(const std::optional<std::string>& longName, std::string_view bytes, UInt32 nodeID);

// A Pascal string's text, and the Pascal string of at most 255 bytes of text.
std::string FromPascal(ConstStr255Param name);
void ToPascal(std::string_view text, StringPtr out);

} // namespace MacNames
