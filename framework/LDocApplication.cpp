#include "framework/LDocApplication.h"

void LDocApplication::HandleLaunch()
{
    if (mLaunchDocuments.empty()) {
        StartUp();
        return;
    }
    for (const std::string& path : mLaunchDocuments) {
        FSRef ref;
        FSSpec spec;
        if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) == noErr &&
            FSGetCatalogInfo(&ref, 0, nullptr, nullptr, &spec, nullptr) == noErr)
            OpenDocument(&spec);
    }
}
