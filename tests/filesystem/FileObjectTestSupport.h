#pragma once
// What the file object tests share: FSSpecs by path and the trash of a volume.

#include <algorithm>
#include <fstream>

#include "tests/platform/FilesTestSupport.h"

namespace fileobjecttest {

using filestest::PString;

inline FSSpec SpecOf(const std::filesystem::path& path)
{
    FSRef ref = filestest::RefOf(path);
    FSSpec spec{};
    EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), noErr) << path;
    return spec;
}

inline void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline void Lock(const std::filesystem::path& path, bool locked = true)
{
    const FSSpec spec = SpecOf(path);
    ASSERT_EQ(locked ? FSpSetFLock(&spec) : FSpRstFLock(&spec), noErr) << path;
}

// The names in the trash's files folder of the volume, for the running user.
inline std::vector<std::string> TrashContent(const testsupport::LoopVolume& volume)
{
    std::vector<std::string> names;
    const auto files = volume / (".Trash-" + std::to_string(getuid()) + "/files");
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(files, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace fileobjecttest
