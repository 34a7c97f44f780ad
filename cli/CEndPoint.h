#pragma once
// One end of a run as the command line names it: a volume, by its name or its mount
// point, or a folder, by its path.

#include <string>

#include "platform/MacTypes.h"

class CEndPoint {
public:
    // False, with the reason in `error`, when `word` names no accepted volume and no
    // folder on one. A word without "/" is first taken as a volume's name.
    bool Resolve(const std::string& word, std::string* error);

    // The folder `name` directly inside this one; false when there is no such folder.
    bool ResolveChild(const std::string& name, std::string* error);

    bool Contains(const CEndPoint& other) const;
    bool SameItem(const CEndPoint& other) const { return mPath == other.mPath; }

    FSSpec mSpec{};        // the volume's root or the folder
    short mVRefNum = 0;
    long mDirID = 0;       // 2 for a volume's root
    bool mIsVolume = false;
    std::string mPath;     // canonical path, no trailing "/" except for "/"
    std::string mShownName; // UTF-8, the volume's or the folder's name

private:
    bool ResolvePath(const std::string& path, std::string* error);
};
