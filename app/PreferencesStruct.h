#pragma once
// The preferences record: what the application keeps between runs, and the exact
// content of its preferences file (1134 bytes, big-endian, times in seconds since
// 1904). The reserved ranges are kept as they were read, so a file written by a later
// version loses nothing.

#include <array>
#include <span>

#include "platform/MacTypes.h"

// The main window's last choices.
struct ActionStruct {
    SInt16 panel = 0; // 0 nothing stored; 1 welcome, 2 clone, 3 restore, 4 tools
    SInt16 cloneAction = 0;
    SInt16 restoreAction = 0;
    SInt16 sourceItem = 0;
    SInt16 destinationItem = 0;
    SInt16 reserved = 0;
    std::array<UInt8, 64> folderName{}; // Pascal string, at most 31 characters
    SInt16 toolsAction = 0;
};

struct PreferencesStruct {
    static constexpr std::size_t kSize = 1134;
    static constexpr std::size_t kActionSize = 78;

    UInt8 savedMark = 0;
    std::array<UInt8, 333> reserved1{};
    UInt32 privilegeRelaunchTime = 0;
    UInt32 updateReminderTime = 0;
    std::array<UInt8, 4> reserved2{};
    UInt8 toolTipsOff = 0; // 1: off
    UInt8 instantResize = 0;
    std::array<UInt8, 190> reserved3{};
    SInt16 windowTop = 0;
    SInt16 windowLeft = 0;
    std::array<UInt8, 4> reserved4{};
    ActionStruct currentSettings;
    std::array<UInt8, 510> reserved5{};
};

using PreferencesBytes = std::array<UInt8, PreferencesStruct::kSize>;

PreferencesBytes EncodePreferences(const PreferencesStruct& preferences);
PreferencesStruct DecodePreferences(const PreferencesBytes& bytes);
// The bytes of a file over the start of the record: a short file changes only what it
// holds, and bytes past the record are ignored.
void ReadPreferencesOver(PreferencesStruct& preferences, std::span<const UInt8> file);
