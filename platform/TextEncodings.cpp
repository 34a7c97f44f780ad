#include "platform/TextEncodings.h"

#include <unicode/utf16.h>

#include <cstring>
#include <string>

#include "platform/MacNames.h"

struct OpaqueUnicodeToTextInfo {
    TextEncoding encoding;
};

struct OpaqueTextToUnicodeInfo {
    TextEncoding encoding;
};

namespace {

bool Supported(TextEncoding encoding)
{
    return encoding == kTextEncodingMacRoman || encoding == kTextEncodingMacJapanese;
}

template <typename Info>
OSStatus CreateInfo(TextEncoding encoding, Info** info)
{
    if (!info)
        return paramErr;
    if (!Supported(encoding))
        return kTextUnsupportedEncodingErr;
    *info = new Info{encoding};
    return noErr;
}

template <typename Info>
OSStatus DisposeInfo(Info** info)
{
    if (!info)
        return paramErr;
    delete *info;
    *info = nullptr;
    return noErr;
}

} // namespace

TextEncoding CreateTextEncoding(TextEncoding base, TextEncoding, TextEncoding)
{
    return base;
}

OSStatus CreateUnicodeToTextInfoByEncoding(TextEncoding encoding, UnicodeToTextInfo* info)
{
    return CreateInfo(encoding, info);
}

OSStatus DisposeUnicodeToTextInfo(UnicodeToTextInfo* info)
{
    return DisposeInfo(info);
}

OSStatus CreateTextToUnicodeInfoByEncoding(TextEncoding encoding, TextToUnicodeInfo* info)
{
    return CreateInfo(encoding, info);
}

OSStatus DisposeTextToUnicodeInfo(TextToUnicodeInfo* info)
{
    return DisposeInfo(info);
}

OSStatus ConvertFromUnicodeToPString(UnicodeToTextInfo info, ByteCount unicodeLength, const UniChar* unicode,
                                     StringPtr out)
{
    if (!info || !out || (unicodeLength && !unicode))
        return paramErr;
    // Decomposed text (as macOS writes names) converts as its composed form.
    const std::u16string text = MacNames::NormalizedNFC(
        std::u16string_view(reinterpret_cast<const char16_t*>(unicode), unicodeLength / sizeof(UniChar)));
    std::string converted;
    bool usedFallbacks = false;
    for (std::size_t i = 0; i < text.size();) {
        UChar32 c;
        U16_NEXT(text.data(), i, text.size(), c);
        const auto bytes = MacNames::EncodeCharacter(char32_t(c), info->encoding);
        converted += bytes.value_or("?");
        usedFallbacks |= !bytes;
    }
    if (converted.size() > 255)
        return kTECOutputBufferFullStatus;
    MacNames::ToPascal(converted, out);
    // A name made in Mac Japanese must lead back to its own text when it comes back.
    if (info->encoding == kTextEncodingMacJapanese && !usedFallbacks && !converted.empty())
        MacNames::RememberMadeName(converted, text);
    return usedFallbacks ? OSStatus(kTECUsedFallbacksStatus) : OSStatus(noErr);
}

OSStatus ConvertFromPStringToUnicode(TextToUnicodeInfo info, ConstStr255Param text, ByteCount outputLength,
                                     ByteCount* unicodeLength, UniChar* unicode)
{
    if (!info || !text || !unicodeLength || !unicode)
        return paramErr;
    bool usedFallbacks = false;
    const std::string bytes = MacNames::FromPascal(text);
    const std::u16string converted = info->encoding == kTextEncodingMacRoman
                                         ? MacNames::UnicodeFromMacRoman(bytes)
                                         : MacNames::UnicodeFromMacJapanese(bytes, &usedFallbacks);
    if (converted.size() * sizeof(UniChar) > outputLength)
        return kTECOutputBufferFullStatus;
    std::memcpy(unicode, converted.data(), converted.size() * sizeof(UniChar));
    *unicodeLength = converted.size() * sizeof(UniChar);
    return usedFallbacks ? OSStatus(kTECUsedFallbacksStatus) : OSStatus(noErr);
}
