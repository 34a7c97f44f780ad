#pragma once
// The settings of one action run. The main window owns one, fills it from its panels
// and hands a copy to each action thread. Lives only in memory, in host byte order.

#include "platform/MacTypes.h"

struct ActionSettingsStruct {
    enum : UInt32 { kClone = 1, kRestore = 2, kTools = 3 };
    // The clone panel's action that backs up onto a series of volumes.
    static constexpr SInt16 kSeriesBackup = 5;

    UInt32 actionKind = 0;
    SInt16 cloneAction = 0;
    SInt16 restoreAction = 0; // not read by the engine
    // Non-zero: inside the root folder "Users" only "Shared" and ".localized" items
    // take part, and a destination "Users" folder at the root is never deleted.
    SInt16 userFolders = 0;
    SInt16 toolsAction = 0; // not read by the engine
    FSSpec source{};
    // A volume reference number of 0: not yet known, the run waits for it.
    FSSpec destination{};
    SInt16 discSizeChoice = 0; // the series backup's size choices, read by the main window only
    SInt16 discSizeOption = 0;
    UInt32 discSizeMB = 0;
    Boolean noDeletions = false;
    // Items only at the destination stay when they lie directly in its volume's root.
    Boolean keepDestinationRoot = false;
    Boolean languageFilter = false;
    // Clone only: when not empty, the run copies into a folder of this name at the
    // destination root, created when missing.
    Str31 folderName{};
};
