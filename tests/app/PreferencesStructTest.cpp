// The preferences file's bytes: each field at its offset, big-endian; the reserved
// ranges kept; a short file over the start of the record.

#include <gtest/gtest.h>

#include "app/PreferencesStruct.h"

namespace {

PreferencesStruct Sample()
{
    PreferencesStruct p;
    p.savedMark = 1;
    p.reserved1[0] = 0xA1;
    p.reserved1[332] = 0xA2;
    p.privilegeRelaunchTime = 0x01020304;
    p.updateReminderTime = 0xF1F2F3F4;
    p.reserved2[3] = 0xA3;
    p.toolTipsOff = 2;
    p.instantResize = 1;
    p.reserved3[189] = 0xA4;
    p.windowTop = -2;
    p.windowLeft = 0x1234;
    p.reserved4[0] = 0xA5;
    p.currentSettings.panel = 3;
    p.currentSettings.cloneAction = 4;
    p.currentSettings.restoreAction = 5;
    p.currentSettings.sourceItem = 6;
    p.currentSettings.destinationItem = -7;
    p.currentSettings.folderName = {3, 'a', 'b', 'c'};
    p.currentSettings.toolsAction = 0x0102;
    p.reserved5[509] = 0xA6;
    return p;
}

TEST(PreferencesStruct, FieldsLieAtTheirOffsetsBigEndian)
{
    const PreferencesBytes bytes = EncodePreferences(Sample());
    const struct {
        std::size_t offset;
        std::vector<UInt8> expected;
        const char* field;
    } cases[] = {
        {0, {1, 0xA1}, "savedMark, reserved"},
        {333, {0xA2, 1, 2, 3, 4}, "privilegeRelaunchTime"},
        {338, {0xF1, 0xF2, 0xF3, 0xF4}, "updateReminderTime"},
        {345, {0xA3, 2, 1}, "toolTipsOff, instantResize"},
        {537, {0xA4, 0xFF, 0xFE, 0x12, 0x34, 0xA5}, "windowTop, windowLeft"},
        {546, {0, 3, 0, 4, 0, 5, 0, 6, 0xFF, 0xF9, 0, 0, 3, 'a', 'b', 'c'}, "currentSettings"},
        {622, {1, 2}, "toolsAction"},
        {1133, {0xA6}, "last reserved byte"},
    };
    for (const auto& c : cases) {
        const std::vector<UInt8> actual(bytes.begin() + long(c.offset), bytes.begin() + long(c.offset + c.expected.size()));
        EXPECT_EQ(actual, c.expected) << c.field;
    }
}

TEST(PreferencesStruct, DecodingGivesBackEveryByte)
{
    const PreferencesBytes bytes = EncodePreferences(Sample());
    EXPECT_EQ(EncodePreferences(DecodePreferences(bytes)), bytes);
}

TEST(PreferencesStruct, ShortFileChangesOnlyTheBytesItHolds)
{
    PreferencesStruct preferences = Sample();
    const std::vector<UInt8> file(336, 0xEE); // ends inside privilegeRelaunchTime
    ReadPreferencesOver(preferences, file);
    EXPECT_EQ(preferences.savedMark, 0xEE);
    EXPECT_EQ(preferences.privilegeRelaunchTime, 0xEEEE0304u);
    EXPECT_EQ(preferences.updateReminderTime, 0xF1F2F3F4u);
    EXPECT_EQ(preferences.windowTop, -2);
}

TEST(PreferencesStruct, BytesPastTheRecordAreIgnored)
{
    PreferencesStruct preferences;
    std::vector<UInt8> file(PreferencesStruct::kSize + 10, 0x11);
    ReadPreferencesOver(preferences, file);
    EXPECT_EQ(preferences.reserved5[509], 0x11);
    EXPECT_EQ(preferences.updateReminderTime, 0x11111111u);
}

} // namespace
