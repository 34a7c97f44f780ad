// UFile: the classification of files by type, creator and name.

#include "filesystem/UFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Name {
    explicit Name(const std::string& text)
    {
        bytes[0] = UInt8(text.size());
        std::memcpy(bytes + 1, text.data(), text.size());
    }
    Str255 bytes{};
};

constexpr OSType T(const char (&code)[5])
{
    return MakeOSType(code);
}

TEST(UFileTypesTest, TypeClasses)
{
    struct Case {
        OSType type;
        OSType creator;
        short typeClass;
    };
    const Case cases[] = {
        {T("APPL"), 0, 1},           {T("APPD"), 0, 1},           {T("cdev"), 0, 2},
        {T("INIT"), 0, 3},           {T("thng"), 0, 3},           {T("TEXT"), 0, 4},
        {T("PICT"), 0, 5},           {T("8BPS"), T("8BIM"), 5},   {T("8BPS"), T("ttxt"), 0},
        {T("PDF "), T("ART5"), 5},   {T("PDF "), T("CARO"), 0},   {T("MooV"), 0, 6},
        {T("LWFN"), 0, 7},           {T("AIFF"), 0, 8},           {T("FNDR"), T("MACS"), 9},
        {T("zsys"), T("MACS"), 9},   {T("FNDR"), T("ttxt"), 0},   {T("zsys"), 0, 0},
        {T("????"), T("????"), 0},   {0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UFile::GetFileType(c.type, c.creator), c.typeClass) << std::hex << c.type << " " << c.creator;
    EXPECT_TRUE(UFile::IsAppliCDEVOrInit(T("shlb")));
    EXPECT_FALSE(UFile::IsAppliCDEVOrInit(T("TEXT")));
    EXPECT_TRUE(UFile::IsDocument(T("PICT")));
}

TEST(UFileTypesTest, SystemCompanionFiles)
{
    struct Case {
        OSType type;
        OSType creator;
        const char* name; // nullptr: no name given
        bool companion;
    };
    const Case cases[] = {
        {T("fdrp"), T("MACS"), nullptr, false},     {T("ZSYS"), T("MACS"), nullptr, true},
        {T("anyt"), T("DMGR"), nullptr, true},      {T("anyt"), T("ERIK"), nullptr, true},
        {T("ERIK"), T("FNDR"), nullptr, true},      {T("mfdr"), T("FNDR"), nullptr, true},
        {T("BTFL"), T("ugbt"), nullptr, true},      {T("FOLD"), T("MACS"), nullptr, true},
        {T("dtpl"), T("dcdc"), nullptr, true},      {T("FOLD"), T("ttxt"), nullptr, false},
        {0, 0, "Desktop DB", true},                 {0, 0, "Desktop DF", true},
        {0, 0, "swapfile0", true},                  {0, 0, "swapfile9", true},
        {0, 0, "swapfile10", false},                {0, 0, "swapfileX", false},
        {T("TEXT"), 0, "swapfile1", false},         {0, T("ttxt"), "Desktop DB", false},
        {0, 0, "Desktop", false},                   {0, 0, nullptr, false},
    };
    for (const Case& c : cases) {
        const Name name(c.name ? c.name : "");
        EXPECT_EQ(UFile::IsSystemCompanionFile(c.type, c.creator, c.name ? name.bytes : nullptr), c.companion)
            << (c.name ? c.name : "(no name)") << " " << std::hex << c.type << " " << c.creator;
    }
}

TEST(UFileTypesTest, SystemCompanionFolders)
{
    Str255 privateData{};
    privateData[0] = 21;
    std::memcpy(privateData + 5, "HFS+ Private Data", 17);
    EXPECT_TRUE(UFile::IsSystemCompanionFolder(privateData));
    for (const char* name : {"TheFindByContentFolder", "TheVolumeSettingsFolder", "Volumes"})
        EXPECT_TRUE(UFile::IsSystemCompanionFolder(Name(name).bytes)) << name;
    for (const char* name : {"volumes", "HFS+ Private Data", "Volumes2", ""})
        EXPECT_FALSE(UFile::IsSystemCompanionFolder(Name(name).bytes)) << name;
}

TEST(UFileTypesTest, ApplicationFoldersAndCompressedFiles)
{
    for (const char* name : {"Mail.app", "MAIL.APP", "x.App"})
        EXPECT_TRUE(UFile::IsMacOSXApplicationFolder(Name(name).bytes)) << name;
    for (const char* name : {"app", "Mail.apps", "Mail app"})
        EXPECT_FALSE(UFile::IsMacOSXApplicationFolder(Name(name).bytes)) << name;

    EXPECT_TRUE(UFile::IsCompressedFile(T("SITD"), T("SIT!")));
    EXPECT_TRUE(UFile::IsCompressedFile(T("PACT"), T("CPCT")));
    EXPECT_TRUE(UFile::IsCompressedFile(T("APPD"), T("EXTR")));
    EXPECT_TRUE(UFile::IsCompressedFile(T("APPL"), T("aust")));
    EXPECT_FALSE(UFile::IsCompressedFile(T("PACT"), T("ttxt")));
    EXPECT_FALSE(UFile::IsCompressedFile(T("TEXT"), T("aust")));
}

} // namespace
