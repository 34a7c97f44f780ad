#include "platform/CFBundle.h"

#include <dlfcn.h>

#include <filesystem>

struct OpaqueCFBundle {
    std::filesystem::path folder;
    void* library = nullptr;
};

CFBundleRef CFBundleCreate(const std::string& folderPath)
{
    std::filesystem::path folder(folderPath);
    if (!folder.has_filename())
        folder = folder.parent_path();
    std::error_code error;
    if (!std::filesystem::is_directory(folder / "Contents", error))
        return nullptr;
    return new OpaqueCFBundle{folder};
}

Boolean CFBundleLoadExecutable(CFBundleRef bundle)
{
    if (!bundle)
        return false;
    if (!bundle->library) {
        const std::filesystem::path executable = bundle->folder / "Contents/MacOS" / bundle->folder.stem();
        bundle->library = dlopen(executable.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    return bundle->library != nullptr;
}

void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, const char* name)
{
    return CFBundleLoadExecutable(bundle) ? dlsym(bundle->library, name) : nullptr;
}

void CFBundleUnloadExecutable(CFBundleRef bundle)
{
    if (bundle && bundle->library) {
        dlclose(bundle->library);
        bundle->library = nullptr;
    }
}

void CFRelease(CFBundleRef bundle)
{
    CFBundleUnloadExecutable(bundle);
    delete bundle;
}
