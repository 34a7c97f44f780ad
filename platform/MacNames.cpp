#include "platform/MacNames.h"

#include <iconv.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace MacNames {

namespace {

// One converter per direction and encoding, opened once: iconv_open is costly.
class Converter {
public:
    Converter(const char* to, const char* from) : mHandle(iconv_open(to, from)) {}
    ~Converter()
    {
        if (mHandle != iconv_t(-1))
            iconv_close(mHandle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // None when any character has no counterpart: no transliteration, no fallback.
    std::optional<std::string> Convert(std::string_view input) const
    {
        if (mHandle == iconv_t(-1))
            return std::nullopt;
        iconv(mHandle, nullptr, nullptr, nullptr, nullptr);
        std::string output(input.size() * 4 + 8, '\0');
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = output.data();
        std::size_t outLeft = output.size();
        if (iconv(mHandle, &in, &inLeft, &out, &outLeft) == std::size_t(-1))
            return std::nullopt;
        output.resize(output.size() - outLeft);
        return output;
    }

private:
    iconv_t mHandle;
};

const Converter& ToMacRoman()
{
    static const Converter converter("MACINTOSH", "UTF-8");
    return converter;
}

const Converter& FromMacRomanConverter()
{
    static const Converter converter("UTF-8", "MACINTOSH");
    return converter;
}

const Converter& ToCP932()
{
    static const Converter converter("CP932", "UTF-8");
    return converter;
}

// Where Mac Japanese and CP932 differ in single bytes.
struct JapaneseByte {
    UChar32 character;
    char byte;
};
constexpr JapaneseByte kMacJapaneseBytes[] = {
    {0x00A5, '\x5C'}, {0x005C, '\x80'}, {0x00A0, '\xA0'}, {0x00A9, '\xFD'}, {0x2122, '\xFE'}, {0x2026, '\xFF'},
};

std::optional<std::string> Utf8FromUtf16(std::u16string_view text)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    std::string out(text.size() * 3 + 1, '\0');
    u_strToUTF8(out.data(), int32_t(out.size()), &length, reinterpret_cast<const UChar*>(text.data()),
                int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(std::size_t(length));
    return out;
}

std::optional<std::u16string> Utf16FromUtf8(std::string_view text)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    std::u16string out(text.size() + 1, u'\0');
    u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), int32_t(out.size()), &length, text.data(),
                  int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(std::size_t(length));
    return out;
}

std::optional<std::string> MacJapaneseFromUtf8(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        UChar32 c;
        const std::size_t start = i;
        U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, text.size(), c);
        if (c < 0)
            return std::nullopt;
        const auto special = std::find_if(std::begin(kMacJapaneseBytes), std::end(kMacJapaneseBytes),
                                          [c](const JapaneseByte& entry) { return entry.character == c; });
        if (special != std::end(kMacJapaneseBytes)) {
            out += special->byte;
            continue;
        }
        const auto converted = ToCP932().Convert(text.substr(start, i - start));
        if (!converted)
            return std::nullopt;
        out += *converted;
    }
    return out;
}

// The names made so far that do not read as Mac Roman (Mac Japanese long names,
// short forms) and the text each stands for; none where two texts made the same name.
std::unordered_map<std::string, std::optional<std::u16string>>& MadeNames()
{
    static std::unordered_map<std::string, std::optional<std::u16string>> names;
    return names;
}

std::u16string Normalized(const UNormalizer2* normalizer, std::u16string_view text)
{
    UErrorCode status = U_ZERO_ERROR;
    std::u16string out(text.size() * 3 + 1, u'\0');
    const int32_t length = unorm2_normalize(normalizer, reinterpret_cast<const UChar*>(text.data()),
                                            int32_t(text.size()), reinterpret_cast<UChar*>(out.data()),
                                            int32_t(out.size()), &status);
    if (U_FAILURE(status))
        return std::u16string(text);
    out.resize(std::size_t(length));
    return out;
}

} // namespace

std::optional<std::u16string> UnicodeFromDisk(std::string_view bytes)
{
    // Bytes that are not UTF-8 stand as lone low surrogates U+DC80..U+DCFF, so every
    // name has a Unicode name that leads back to its own bytes.
    std::u16string text;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t start = i;
        UChar32 c;
        U8_NEXT(data, i, bytes.size(), c);
        if (c < 0) {
            i = start + 1;
            c = data[start] >= 0x80 ? 0xDC00 + data[start] : 0xFFFD;
        }
        if (c == u':')
            c = u'/';
        if (c <= 0xFFFF) {
            text += char16_t(c);
        } else {
            text += char16_t(U16_LEAD(c));
            text += char16_t(U16_TRAIL(c));
        }
    }
    if (text.empty() || text.size() > kUnicodeNameLimit)
        return std::nullopt;
    return text;
}

std::optional<std::string> DiskFromUnicode(std::u16string_view name)
{
    if (name.empty() || name == u"." || name == u"..")
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < name.size();) {
        UChar32 c;
        U16_NEXT(name.data(), i, name.size(), c);
        if (c == u':' || c == 0)
            return std::nullopt;
        if (c == u'/') {
            bytes += ':';
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            bytes += char(c - 0xDC00);
        } else if (U_IS_SURROGATE(c)) {
            return std::nullopt;
        } else {
            char buffer[4];
            std::size_t length = 0;
            U8_APPEND_UNSAFE(buffer, length, c);
            bytes.append(buffer, length);
        }
    }
    return bytes;
}

std::u16string NormalizedNFC(std::u16string_view text)
{
    UErrorCode status = U_ZERO_ERROR;
    return Normalized(unorm2_getNFCInstance(&status), text);
}

std::u16string NormalizedNFD(std::u16string_view text)
{
    UErrorCode status = U_ZERO_ERROR;
    return Normalized(unorm2_getNFDInstance(&status), text);
}

std::optional<std::string> LongNameFromUnicode(std::u16string_view text, std::size_t limit)
{
    const auto utf8 = Utf8FromUtf16(NormalizedNFC(text));
    if (!utf8)
        return std::nullopt;
    auto converted = ToMacRoman().Convert(*utf8);
    const bool japanese = !converted;
    if (japanese)
        converted = MacJapaneseFromUtf8(*utf8);
    if (!converted || converted->empty() || converted->size() > limit)
        return std::nullopt;
    if (japanese)
        RememberMadeName(*converted, text);
    return converted;
}

std::u16string UnicodeFromMacRoman(std::string_view text)
{
    const auto utf8 = FromMacRomanConverter().Convert(text);
    return utf8 ? Utf16FromUtf8(*utf8).value_or(u"") : u"";
}

void RememberMadeName(const std::string& name, std::u16string_view text)
{
    auto& names = MadeNames();
    // A bound, not a cache policy: a volume has far fewer such names.
    if (names.size() >= 100000)
        names.clear();
    const auto [it, added] = names.try_emplace(name, std::u16string(text));
    if (!added && it->second != text)
        it->second.reset();
}

std::u16string UnicodeFromMacName(std::string_view name)
{
    const auto& names = MadeNames();
    const auto it = names.find(std::string(name));
    return it != names.end() && it->second ? *it->second : UnicodeFromMacRoman(name);
}

std::optional<std::string> EncodeCharacter(char32_t c, UInt32 encoding)
{
    char utf8[4];
    std::size_t length = 0;
    U8_APPEND_UNSAFE(utf8, length, UChar32(c));
    const std::string_view text(utf8, length);
    return encoding == 0 ? ToMacRoman().Convert(text) : MacJapaneseFromUtf8(text);
}

std::u16string UnicodeFromMacJapanese(std::string_view text, bool* usedFallbacks)
{
    static const Converter fromCP932("UTF-8", "CP932");
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const UInt8 byte = UInt8(text[i]);
        const auto special = std::find_if(std::begin(kMacJapaneseBytes), std::end(kMacJapaneseBytes),
                                          [byte](const JapaneseByte& entry) { return UInt8(entry.byte) == byte; });
        if (special != std::end(kMacJapaneseBytes)) {
            out += char16_t(special->character);
            ++i;
            continue;
        }
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        const std::size_t length = lead && i + 1 < text.size() ? 2 : 1;
        const auto utf8 = fromCP932.Convert(text.substr(i, length));
        const auto utf16 = utf8 ? Utf16FromUtf8(*utf8) : std::nullopt;
        if (utf16 && !utf16->empty()) {
            out += *utf16;
        } else {
            out += u'\uFFFD';
            *usedFallbacks = true;
        }
        i += length;
    }
    return out;
}

std::optional<std::string> LongNameFromDisk(std::string_view bytes)
{
    const auto unicode = UnicodeFromDisk(bytes);
    return unicode ? LongNameFromUnicode(*unicode) : std::nullopt;
}

std::string ShortCatalogName(const std::optional<std::string>& longName, std::string_view bytes, UInt32 nodeID)
{
    char id[16];
    std::snprintf(id, sizeof id, "#%X", unsigned(nodeID));
    // The prefix comes from the long name, else from the plain ASCII start of the bytes.
    std::string base;
    if (longName) {
        base = *longName;
    } else {
        for (char c : bytes) {
            if (c < 0x20 || c > 0x7E)
                break;
            base += c;
        }
    }
    std::string extension;
    const auto dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0 && base.size() - dot <= 8)
        extension = base.substr(dot);
    std::string prefix = base.substr(0, base.size() - extension.size());
    const std::size_t room = kCatalogNameLimit - std::strlen(id) - extension.size();
    if (prefix.size() > room)
        prefix.resize(room);
    return prefix + id + extension;
}

std::string FromPascal(ConstStr255Param name)
{
    return name ? std::string(reinterpret_cast<const char*>(name + 1), name[0]) : std::string();
}

void ToPascal(std::string_view text, StringPtr out)
{
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    out[0] = UInt8(length);
    std::memcpy(out + 1, text.data(), length);
}

} // namespace MacNames
