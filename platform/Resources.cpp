#include "platform/Resources.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/MacMemory.h"
#include "platform/MacRoman.h"

namespace {

OSErr sResError = noErr;

std::string& TestFolder()
{
    static std::string folder;
    return folder;
}

bool ReadLines(ResIDT id, const char* extension, std::vector<std::string>* lines)
{
    std::ifstream file(std::filesystem::path(ApplicationResourceFolder()) / (std::to_string(id) + "." + extension));
    if (!file)
        return false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines->push_back(line);
    }
    return !file.bad();
}

void AppendPascal(std::vector<UInt8>* bytes, const std::string& utf8)
{
    std::string text = MacRomanFromText(utf8);
    if (text.size() > 255)
        text.resize(255);
    bytes->push_back(UInt8(text.size()));
    bytes->insert(bytes->end(), text.begin(), text.end());
}

bool StringList(ResIDT id, std::vector<UInt8>* bytes)
{
    std::vector<std::string> lines;
    if (!ReadLines(id, "strings", &lines) || lines.size() > 0x7FFF)
        return false;
    bytes->push_back(UInt8(lines.size() >> 8));
    bytes->push_back(UInt8(lines.size()));
    for (const std::string& line : lines)
        AppendPascal(bytes, line);
    return true;
}

// "1.2.3", "1.2b4": major, minor, bug fix, then an optional stage letter and revision.
NumVersion ParseVersion(const std::string& text)
{
    unsigned major = 0, minor = 0, bug = 0, revision = 0;
    char stage = 0;
    std::istringstream in(text);
    in >> major;
    if (in.peek() == '.' && in.get() && in >> minor && in.peek() == '.' && in.get())
        in >> bug;
    in.clear();
    if (in >> stage)
        in >> revision;
    const UInt8 stageCode = stage == 'd' ? 0x20 : stage == 'a' ? 0x40 : stage == 'b' ? 0x60 : 0x80;
    return {UInt8(major), UInt8(((minor & 0xF) << 4) | (bug & 0xF)), stageCode, UInt8(revision)};
}

bool VersionRecord(ResIDT id, std::vector<UInt8>* bytes)
{
    std::vector<std::string> lines;
    if (!ReadLines(id, "vers", &lines) || lines.empty())
        return false;
    const NumVersion numeric = ParseVersion(lines[0]);
    *bytes = {numeric.majorRev, numeric.minorAndBugRev, numeric.stage, numeric.nonRelRev, 0, 0};
    AppendPascal(bytes, lines[0]);
    AppendPascal(bytes, lines.size() > 1 ? lines[1] : lines[0]);
    return true;
}

} // namespace

std::string ApplicationResourceFolder()
{
    if (!TestFolder().empty())
        return TestFolder();
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (program.parent_path().parent_path() / "Resources").string();
}

void SetResourceFolderForTesting(const std::string& folder)
{
    TestFolder() = folder;
}

Handle GetResource(ResType type, ResIDT id)
{
    std::vector<UInt8> bytes;
    const bool found = (type == kStringListResourceType && StringList(id, &bytes)) ||
                       (type == kVersionResourceType && VersionRecord(id, &bytes));
    sResError = found ? noErr : resNotFound;
    if (!found)
        return nullptr;
    Handle resource = NewHandle(Size(bytes.size()));
    if (!resource) {
        sResError = memFullErr;
        return nullptr;
    }
    std::memcpy(*resource, bytes.data(), bytes.size());
    return resource;
}

void ReleaseResource(Handle resource)
{
    if (resource)
        DisposeHandle(resource);
}

OSErr ResError()
{
    return sResError;
}

void GetIndString(Str255 out, ResIDT listID, SInt16 index)
{
    out[0] = 0;
    Handle list = GetResource(kStringListResourceType, listID);
    if (!list)
        return;
    const UInt8* bytes = reinterpret_cast<const UInt8*>(*list);
    const Size size = GetHandleSize(list);
    const long count = (long(bytes[0]) << 8) | bytes[1];
    Size offset = 2;
    for (long n = 1; n <= count && offset < size; ++n) {
        const UInt8 length = bytes[offset];
        if (n == index) {
            std::memcpy(out, bytes + offset, length + 1u);
            break;
        }
        offset += length + 1;
    }
    ReleaseResource(list);
}

Boolean DecodeVersRec(const UInt8* bytes, Size size, VersRec* version)
{
    if (size < 8 || size < 7 + bytes[6] + 1 || size < 8 + bytes[6] + bytes[7 + bytes[6]])
        return false;
    version->numericVersion = {bytes[0], bytes[1], bytes[2], bytes[3]};
    version->countryCode = SInt16((bytes[4] << 8) | bytes[5]);
    std::memcpy(version->shortVersion, bytes + 6, bytes[6] + 1u);
    const UInt8* longVersion = bytes + 7 + bytes[6];
    std::memcpy(version->reallyLongVersion, longVersion, longVersion[0] + 1u);
    return true;
}
