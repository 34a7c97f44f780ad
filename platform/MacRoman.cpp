#include "platform/MacRoman.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

std::string Convert(std::string_view text, const char* from, const char* to)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == iconv_t(-1))
        return std::string(text);
    std::string result;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char chunk[256];
    while (inLeft > 0) {
        char* out = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
        result.append(chunk, std::size_t(out - chunk));
        if (done == std::size_t(-1) && errno != E2BIG) {
            // Unconvertible or broken input: one byte becomes "?" and the rest goes on.
            result.push_back('?');
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
    return result;
}

} // namespace

std::string MacRomanFromText(std::string_view text, const char* codeset)
{
    return Convert(text, codeset, "MACINTOSH//TRANSLIT");
}

std::string UTF8FromMacRoman(std::string_view macRoman)
{
    return Convert(macRoman, "MACINTOSH", "UTF-8");
}

void TextToStr255(std::string_view text, Str255 out)
{
    const std::size_t length = text.size() < 255 ? text.size() : 255;
    out[0] = UInt8(length);
    std::memcpy(out + 1, text.data(), length);
}
