#pragma once
// Text between the system's encodings and Mac Roman, the encoding of every Pascal
// string of the Parts; converted with glibc's iconv ("MACINTOSH").

#include <string>
#include <string_view>

#include "platform/MacTypes.h"

// `text` in the encoding `codeset` (an iconv name) as Mac Roman. A character that
// Mac Roman lacks becomes its nearest form or "?", an invalid sequence "?" a byte.
std::string MacRomanFromText(std::string_view text, const char* codeset = "UTF-8");

std::string UTF8FromMacRoman(std::string_view macRoman);

// `text` as a Pascal string, cut to 255 bytes.
void TextToStr255(std::string_view text, Str255 out);

inline std::string_view Str255View(ConstStr255Param s)
{
    return {reinterpret_cast<const char*>(s + 1), s[0]};
}
