#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "platform/TextEncodings.h"

namespace {

struct ToTextCase {
    const char* label;
    std::u16string unicode;
    TextEncoding encoding;
    std::string expected;
    OSStatus status;
};

const ToTextCase kToTextCases[] = {
    {"roman", u"Caf\u00E9", kTextEncodingMacRoman, "Caf\x8E", noErr},
    {"decomposed roman", u"Cafe\u0301", kTextEncodingMacRoman, "Caf\x8E", noErr},
    {"japanese in roman", u"\u65E5\u672C", kTextEncodingMacRoman, "??", kTECUsedFallbacksStatus},
    {"japanese", u"\u65E5\u672C", kTextEncodingMacJapanese, "\x93\xFA\x96\x7B", noErr},
    {"mac japanese single bytes", u"\u00A9\u2122\u00A5\\", kTextEncodingMacJapanese, "\xFD\xFE\x5C\x80", noErr},
    {"emoji in japanese", u"a\U0001F600", kTextEncodingMacJapanese, "a?", kTECUsedFallbacksStatus},
};

class UnicodeToTextTest : public ::testing::TestWithParam<ToTextCase> {
};

TEST_P(UnicodeToTextTest, ConvertsOrFallsBackVisibly)
{
    const ToTextCase& c = GetParam();
    UnicodeToTextInfo info = nullptr;
    ASSERT_EQ(CreateUnicodeToTextInfoByEncoding(c.encoding, &info), noErr);
    Str255 out{};
    EXPECT_EQ(ConvertFromUnicodeToPString(info, c.unicode.size() * sizeof(UniChar),
                                          reinterpret_cast<const UniChar*>(c.unicode.data()), out),
              c.status);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), out[0]), c.expected);
    DisposeUnicodeToTextInfo(&info);
}

INSTANTIATE_TEST_SUITE_P(TextEncodings, UnicodeToTextTest, ::testing::ValuesIn(kToTextCases),
                         [](const auto& info) {
                             std::string name = info.param.label;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST(TextToUnicodeTest, MacJapaneseAndRomanComeBack)
{
    for (const auto& [encoding, text, expected] :
         {std::tuple{kTextEncodingMacRoman, std::string("\x05" "Caf\x8E!"), std::u16string(u"Caf\u00E9!")},
          std::tuple{kTextEncodingMacJapanese, std::string("\x05\x93\xFA\x96\x7B\xFD"), std::u16string(u"\u65E5\u672C\u00A9")}}) {
        TextToUnicodeInfo info = nullptr;
        ASSERT_EQ(CreateTextToUnicodeInfoByEncoding(encoding, &info), noErr);
        UniChar unicode[255];
        ByteCount length = 0;
        ASSERT_EQ(ConvertFromPStringToUnicode(info, reinterpret_cast<ConstStr255Param>(text.data()), sizeof unicode,
                                              &length, unicode),
                  noErr);
        EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(unicode), length / 2), expected);
        DisposeTextToUnicodeInfo(&info);
    }
}

TEST(TextToUnicodeTest, TooLongForTheOutputIsRefusedNotCut)
{
    UnicodeToTextInfo info = nullptr;
    ASSERT_EQ(CreateUnicodeToTextInfoByEncoding(kTextEncodingMacJapanese, &info), noErr);
    const std::u16string text(200, u'\u65E5');
    Str255 out{};
    EXPECT_EQ(ConvertFromUnicodeToPString(info, text.size() * 2, reinterpret_cast<const UniChar*>(text.data()), out),
              kTECOutputBufferFullStatus);
    DisposeUnicodeToTextInfo(&info);
}

} // namespace
