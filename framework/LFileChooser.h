#pragma once
// The dialog that asks the user for one existing file. It runs in the framework's event
// loop, so cooperative threads go on meanwhile.
//
// Of the navigation option flags only kNavAllowInvisibleFiles has a meaning here: it
// shows the files whose names begin with ".". Linux has no packages, so there is no
// folder to show as a file.

#include <functional>
#include <string>

#include "platform/MacTypes.h"

class LFileChooser {
public:
    enum : UInt32 {
        kNavAllowInvisibleFiles = 0x00000100,
        kNavSupportPackages = 0x00001000,
    };

    void SetOptionFlags(UInt32 flags) { mFlags = flags; }
    // Only the files it accepts are shown and may be chosen; folders are always shown.
    void SetFileFilter(std::function<Boolean(const std::string& path)> filter) { mFilter = std::move(filter); }

    // True with the chosen file's path; false when the user cancelled.
    Boolean AskChooseOneFile(std::string& outPath);

private:
    UInt32 mFlags = 0;
    std::function<Boolean(const std::string& path)> mFilter;
};
