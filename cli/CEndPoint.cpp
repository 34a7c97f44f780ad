#include "cli/CEndPoint.h"

#include <filesystem>

#include "filesystem/UFile.h"
#include "filesystem/UVolumeChoice.h"
#include "platform/MacRoman.h"

namespace {

std::string VolumePath(short vRefNum)
{
    char path[1025] = {};
    return UFile::GetVolumePath(vRefNum, path) == noErr ? std::string(path) : std::string();
}

} // namespace

bool CEndPoint::Resolve(const std::string& word, std::string* error)
{
    if (word.empty()) {
        *error = "an empty name names nothing";
        return false;
    }
    if (word.find('/') == std::string::npos) {
        short found = 0;
        for (long n = 1; short vRefNum = UFile::GetNthVolumeVRefNum(n); ++n) {
            Str255 name;
            if (UFile::GetVolumeName(vRefNum, name) != noErr || !UVolumeChoice::IsVolumeAccepted(name, false))
                continue;
            if (UTF8FromMacRoman(Str255View(name)) != word)
                continue;
            if (found != 0) {
                *error = "more than one volume is named \"" + word + "\"; give its mount point";
                return false;
            }
            found = vRefNum;
        }
        if (found != 0)
            return ResolvePath(VolumePath(found), error);
    }
    return ResolvePath(word, error);
}

bool CEndPoint::ResolvePath(const std::string& given, std::string* error)
{
    std::error_code failure;
    const std::filesystem::path path = std::filesystem::canonical(given, failure);
    if (failure || !std::filesystem::is_directory(path, failure)) {
        *error = "\"" + given + "\" is neither a volume nor a folder";
        return false;
    }
    mPath = path.string();
    FSRef ref{};
    Boolean isFolder = false;
    OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(mPath.c_str()), &ref, &isFolder);
    if (err == noErr)
        err = UFile::ConvertFSRefToFSSpec(&ref, &mSpec);
    if (err != noErr) {
        *error = "\"" + given + "\" is not on a volume (error " + std::to_string(err) + ")";
        return false;
    }
    mVRefNum = mSpec.vRefNum;
    Str255 volumeName;
    if (UFile::GetVolumeName(mVRefNum, volumeName) != noErr || !UVolumeChoice::IsVolumeAccepted(volumeName, false)) {
        *error = "\"" + given + "\" is not on a volume that can be used";
        return false;
    }
    mIsVolume = mSpec.parID == fsRtParID;
    if (mIsVolume) {
        mDirID = fsRtDirID;
        mShownName = UTF8FromMacRoman(Str255View(volumeName));
        return true;
    }
    if (!UFile::GetFolderContentID(&mSpec, &mDirID)) {
        *error = "\"" + given + "\" cannot be read";
        return false;
    }
    mShownName = path.filename().string();
    return true;
}

bool CEndPoint::ResolveChild(const std::string& name, std::string* error)
{
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
        *error = "\"" + name + "\" is not a name of an item";
        return false;
    }
    const std::string child = (mPath == "/" ? std::string() : mPath) + "/" + name;
    std::error_code failure;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(child, failure))) {
        *error = "there is no folder \"" + name + "\" in \"" + mPath + "\"";
        return false;
    }
    return ResolvePath(child, error);
}

bool CEndPoint::Contains(const CEndPoint& other) const
{
    // A walk never leaves its volume: another volume mounted inside is no overlap.
    if (other.mVRefNum != mVRefNum)
        return false;
    if (mPath == "/")
        return other.mPath != "/";
    return other.mPath.size() > mPath.size() && other.mPath.compare(0, mPath.size(), mPath) == 0 &&
           other.mPath[mPath.size()] == '/';
}
