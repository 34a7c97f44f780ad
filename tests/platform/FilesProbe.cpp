// Runs one File Manager operation as the user who runs it; prints the result code
// (and a path where there is one).
// Usage: files_probe copy-record SOURCE TARGET   writes SOURCE's full record onto TARGET
//        files_probe preferences                  finds the preferences folder, not creating it

#include <cstdio>
#include <cstring>

#include "platform/Files.h"
#include "platform/Folders.h"

namespace {

OSErr CopyRecord(const char* sourcePath, const char* targetPath)
{
    FSRef source{}, target{};
    FSCatalogInfo info{};
    OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(sourcePath), &source, nullptr);
    if (!err)
        err = FSPathMakeRef(reinterpret_cast<const UInt8*>(targetPath), &target, nullptr);
    if (!err)
        err = FSGetCatalogInfo(&source, 0x7E1, &info, nullptr, nullptr, nullptr);
    if (!err)
        err = FSSetCatalogInfo(&target, 0x7E1, &info);
    return err;
}

OSErr Preferences()
{
    SInt16 vRefNum = 0;
    SInt32 dirID = 0;
    OSErr err = FindFolder(kOnSystemDisk, kPreferencesFolderType, kDontCreateFolder, &vRefNum, &dirID);
    FSSpec spec{};
    FSRef ref{};
    UInt8 path[4096] = {};
    if (!err)
        err = FSMakeFSSpec(vRefNum, dirID, nullptr, &spec);
    if (!err)
        err = FSpMakeFSRef(&spec, &ref);
    if (!err)
        err = FSRefMakePath(&ref, path, sizeof path);
    if (!err)
        std::printf("%s ", reinterpret_cast<char*>(path));
    return err;
}

} // namespace

int main(int argc, char* argv[])
{
    OSErr err;
    if (argc == 4 && std::strcmp(argv[1], "copy-record") == 0)
        err = CopyRecord(argv[2], argv[3]);
    else if (argc == 2 && std::strcmp(argv[1], "preferences") == 0)
        err = Preferences();
    else
        return 2;
    std::printf("%d\n", int(err));
    return 0;
}
