#include <gtest/gtest.h>

#include <string>

#include "framework/UPascalText.h"

namespace {

std::string Bytes(const Str255 s)
{
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

TEST(UPascalText, WidgetTextsBecomeMacRoman)
{
    struct Case {
        const char* name;
        QString text;
        std::string macRoman;
    };
    const Case cases[] = {
        {"plain", QStringLiteral("Backup"), "Backup"},
        {"composed accent", QString::fromUtf8("caf\xC3\xA9"), "caf\x8E"},
        {"decomposed accent, as macOS writes names", QString::fromUtf8("cafe\xCC\x81"), "caf\x8E"},
        {"euro sign", QString::fromUtf8("\xE2\x82\xAC"), "\xDB"},
        {"characters Mac Roman lacks", QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"), "??"},
        {"longer than a Pascal string", QString(300, QLatin1Char('x')), std::string(255, 'x')},
    };
    for (const Case& c : cases) {
        Str255 out;
        UPascalText::FromQString(c.text, out);
        EXPECT_EQ(Bytes(out), c.macRoman) << c.name;
    }
}

TEST(UPascalText, MacRomanBecomesWidgetText)
{
    const Str255 text = {5, 'c', 'a', 'f', 0x8E, 0xDB};
    EXPECT_EQ(UPascalText::ToQString(text), QString::fromUtf8("caf\xC3\xA9\xE2\x82\xAC"));
    EXPECT_TRUE(UPascalText::ToQString(nullptr).isEmpty());
}

} // namespace
