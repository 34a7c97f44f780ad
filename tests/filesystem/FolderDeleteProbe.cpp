// Deletes the folder at PATH with its content as whoever runs it; prints the result.
// Usage: folder_delete_probe PATH

#include <cstdio>

#include "filesystem/CFolderObject.h"

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    FSRef ref{};
    FSSpec spec{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(argv[1]), &ref, nullptr) != noErr ||
        FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr) != noErr)
        return 3;
    std::printf("%d\n", int(CFolderObject(&spec).Delete()));
    return 0;
}
