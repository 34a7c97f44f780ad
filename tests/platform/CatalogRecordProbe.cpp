// Writes the full catalog record of one item onto another, as the user running it;
// prints the result code. Usage: catalog_record_probe SOURCE TARGET

#include <cstdio>

#include "platform/Files.h"

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    FSRef source{}, target{};
    FSCatalogInfo info{};
    OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(argv[1]), &source, nullptr);
    if (!err)
        err = FSPathMakeRef(reinterpret_cast<const UInt8*>(argv[2]), &target, nullptr);
    if (!err)
        err = FSGetCatalogInfo(&source, 0x7E1, &info, nullptr, nullptr, nullptr);
    if (!err)
        err = FSSetCatalogInfo(&target, 0x7E1, &info);
    std::printf("%d\n", int(err));
    return 0;
}
