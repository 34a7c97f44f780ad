#include "app/PreferencesStruct.h"

#include <algorithm>
#include <cstring>

#include "toolkit/BigEndian.h"

namespace {

constexpr std::size_t kPrivilegeRelaunchTime = 334;
constexpr std::size_t kUpdateReminderTime = 338;
constexpr std::size_t kToolTipsOff = 346;
constexpr std::size_t kInstantResize = 347;
constexpr std::size_t kWindowTop = 538;
constexpr std::size_t kWindowLeft = 540;
constexpr std::size_t kCurrentSettings = 546;
static_assert(kCurrentSettings + PreferencesStruct::kActionSize + 510 == PreferencesStruct::kSize);

template <std::size_t N>
void PutBytes(UInt8* at, const std::array<UInt8, N>& field)
{
    std::memcpy(at, field.data(), N);
}

template <std::size_t N>
void GetBytes(const UInt8* at, std::array<UInt8, N>& field)
{
    std::memcpy(field.data(), at, N);
}

void EncodeAction(UInt8* at, const ActionStruct& action)
{
    const SInt16 numbers[] = {action.panel,      action.cloneAction,     action.restoreAction,
                              action.sourceItem, action.destinationItem, action.reserved};
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        PutBigEndian16(at + 2 * i, UInt16(numbers[i]));
    PutBytes(at + 12, action.folderName);
    PutBigEndian16(at + 76, UInt16(action.toolsAction));
}

ActionStruct DecodeAction(const UInt8* at)
{
    ActionStruct action;
    SInt16* numbers[] = {&action.panel,      &action.cloneAction,     &action.restoreAction,
                         &action.sourceItem, &action.destinationItem, &action.reserved};
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        *numbers[i] = SInt16(GetBigEndian16(at + 2 * i));
    GetBytes(at + 12, action.folderName);
    action.toolsAction = SInt16(GetBigEndian16(at + 76));
    return action;
}

} // namespace

PreferencesBytes EncodePreferences(const PreferencesStruct& preferences)
{
    PreferencesBytes bytes{};
    UInt8* const b = bytes.data();
    b[0] = preferences.savedMark;
    PutBytes(b + 1, preferences.reserved1);
    PutBigEndian32(b + kPrivilegeRelaunchTime, preferences.privilegeRelaunchTime);
    PutBigEndian32(b + kUpdateReminderTime, preferences.updateReminderTime);
    PutBytes(b + 342, preferences.reserved2);
    b[kToolTipsOff] = preferences.toolTipsOff;
    b[kInstantResize] = preferences.instantResize;
    PutBytes(b + 348, preferences.reserved3);
    PutBigEndian16(b + kWindowTop, UInt16(preferences.windowTop));
    PutBigEndian16(b + kWindowLeft, UInt16(preferences.windowLeft));
    PutBytes(b + 542, preferences.reserved4);
    EncodeAction(b + kCurrentSettings, preferences.currentSettings);
    PutBytes(b + kCurrentSettings + PreferencesStruct::kActionSize, preferences.reserved5);
    return bytes;
}

PreferencesStruct DecodePreferences(const PreferencesBytes& bytes)
{
    PreferencesStruct preferences;
    const UInt8* const b = bytes.data();
    preferences.savedMark = b[0];
    GetBytes(b + 1, preferences.reserved1);
    preferences.privilegeRelaunchTime = GetBigEndian32(b + kPrivilegeRelaunchTime);
    preferences.updateReminderTime = GetBigEndian32(b + kUpdateReminderTime);
    GetBytes(b + 342, preferences.reserved2);
    preferences.toolTipsOff = b[kToolTipsOff];
    preferences.instantResize = b[kInstantResize];
    GetBytes(b + 348, preferences.reserved3);
    preferences.windowTop = SInt16(GetBigEndian16(b + kWindowTop));
    preferences.windowLeft = SInt16(GetBigEndian16(b + kWindowLeft));
    GetBytes(b + 542, preferences.reserved4);
    preferences.currentSettings = DecodeAction(b + kCurrentSettings);
    GetBytes(b + kCurrentSettings + PreferencesStruct::kActionSize, preferences.reserved5);
    return preferences;
}

void ReadPreferencesOver(PreferencesStruct& preferences, std::span<const UInt8> file)
{
    PreferencesBytes bytes = EncodePreferences(preferences);
    std::copy_n(file.begin(), std::min(file.size(), bytes.size()), bytes.begin());
    preferences = DecodePreferences(bytes);
}
