#include "framework/UPascalText.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Mac Roman's upper half in Unicode, from iconv once.
const std::array<char16_t, 128>& UpperHalf()
{
    static const std::array<char16_t, 128> table = [] {
        std::array<char16_t, 128> result{};
        iconv_t converter = iconv_open("UTF-16LE", "MACINTOSH");
        for (int i = 0; i < 128; ++i) {
            char in = char(0x80 + i);
            unsigned char out[4] = {};
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(out);
            std::size_t inLeft = 1, outLeft = sizeof out;
            if (converter != iconv_t(-1) && iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1))
                result[i] = char16_t(out[0] | (out[1] << 8));
            else
                result[i] = u'?';
        }
        if (converter != iconv_t(-1))
            iconv_close(converter);
        return result;
    }();
    return table;
}

} // namespace

namespace UPascalText {

QString ToQString(ConstStr255Param text)
{
    if (text == nullptr)
        return {};
    QString result;
    result.reserve(text[0]);
    for (int i = 1; i <= text[0]; ++i)
        result.append(text[i] < 0x80 ? QChar(text[i]) : QChar(UpperHalf()[text[i] - 0x80]));
    return result;
}

void FromQString(const QString& text, Str255 out)
{
    const auto& upper = UpperHalf();
    const QString composed = text.normalized(QString::NormalizationForm_C);
    int length = 0;
    for (QChar c : composed) {
        if (length == 255)
            break;
        if (c.isLowSurrogate())
            continue; // its high half already gave "?"
        unsigned char byte = '?';
        if (c.unicode() < 0x80) {
            byte = UInt8(c.unicode());
        } else if (auto found = std::find(upper.begin(), upper.end(), char16_t(c.unicode())); found != upper.end()) {
            byte = UInt8(0x80 + (found - upper.begin()));
        }
        out[++length] = byte;
    }
    out[0] = UInt8(length);
}

} // namespace UPascalText
