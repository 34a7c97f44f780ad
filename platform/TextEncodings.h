#pragma once
// Text Encoding Conversion between Unicode and Pascal strings in Mac Roman or Mac
// Japanese. A character the target encoding lacks becomes "?" (or U+FFFD) and the
// conversion answers kTECUsedFallbacksStatus; text that does not fit the output is
// refused with kTECOutputBufferFullStatus, never cut.

#include "platform/Files.h"

using UnicodeToTextInfo = struct OpaqueUnicodeToTextInfo*;
using TextToUnicodeInfo = struct OpaqueTextToUnicodeInfo*;
using ByteCount = unsigned long;

enum : TextEncoding {
    kTextEncodingDefaultVariant = 0,
    kTextEncodingDefaultFormat = 0,
};

enum : OSStatus {
    kTECOutputBufferFullStatus = -8785,
    kTextUnsupportedEncodingErr = -8738,
};

TextEncoding CreateTextEncoding(TextEncoding base, TextEncoding variant, TextEncoding format);
OSStatus CreateUnicodeToTextInfoByEncoding(TextEncoding encoding, UnicodeToTextInfo* info);
OSStatus DisposeUnicodeToTextInfo(UnicodeToTextInfo* info);
OSStatus CreateTextToUnicodeInfoByEncoding(TextEncoding encoding, TextToUnicodeInfo* info);
OSStatus DisposeTextToUnicodeInfo(TextToUnicodeInfo* info);

// `unicodeLength` is in bytes, as the original calls count it.
OSStatus ConvertFromUnicodeToPString(UnicodeToTextInfo info, ByteCount unicodeLength, const UniChar* unicode,
                                     StringPtr out);
OSStatus ConvertFromPStringToUnicode(TextToUnicodeInfo info, ConstStr255Param text, ByteCount outputLength,
                                     ByteCount* unicodeLength, UniChar* unicode);
