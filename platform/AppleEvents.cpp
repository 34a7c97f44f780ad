#include "platform/AppleEvents.h"

#include <cstring>

#include "platform/PercentEncoding.h"
#include "platform/SystemCommands.h"

namespace {

constexpr AEKeyword keyAddressAttr = MakeOSType("addr");

std::string BigEndian(UInt32 value)
{
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

bool IsFinder(const AppleEvent& event)
{
    AEDesc target;
    if (AEGetParamDesc(&event, keyAddressAttr, &target) != noErr)
        return false;
    if (target.descriptorType == typeApplSignature)
        return target.data == BigEndian(kFinderSignature);
    ProcessSerialNumber psn{};
    ProcessInfoRec info{};
    if (target.descriptorType != typeProcessSerialNumber || target.data.size() != sizeof psn)
        return false;
    std::memcpy(&psn, target.data.data(), sizeof psn);
    return GetProcessInformation(&psn, &info) == noErr && info.processSignature == kFinderSignature;
}

std::string PathOf(const AEDesc& item)
{
    if (item.descriptorType == typeAlias)
        return item.data;
    FSSpec spec{};
    FSRef ref{};
    char path[1024] = "";
    if (item.descriptorType == typeFSS && item.data.size() == sizeof spec) {
        std::memcpy(&spec, item.data.data(), sizeof spec);
        if (FSpMakeFSRef(&spec, &ref) == noErr)
            FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path), sizeof path);
    }
    return path;
}

// The paths of the event's direct parameter: one item or a list of them.
OSErr DirectPaths(const AppleEvent& event, std::vector<std::string>* paths)
{
    AEDesc direct;
    if (const OSErr err = AEGetParamDesc(&event, keyDirectObject, &direct))
        return err;
    const std::vector<AEDesc> items = direct.descriptorType == typeAEList ? direct.items : std::vector<AEDesc>{direct};
    for (const AEDesc& item : items) {
        const std::string path = PathOf(item);
        if (path.empty())
            return errAECoercionFail;
        paths->push_back(path);
    }
    return noErr;
}

} // namespace

OSErr AECreateDesc(DescType type, const void* data, Size size, AEDesc* result)
{
    if (!result || (size && !data) || size < 0)
        return paramErr;
    *result = AEDesc{};
    result->descriptorType = type;
    result->data.assign(static_cast<const char*>(data), std::size_t(size));
    return noErr;
}

OSErr AECreateList(AEDescList* result)
{
    if (!result)
        return paramErr;
    *result = AEDesc{};
    result->descriptorType = typeAEList;
    return noErr;
}

OSErr AEPutDesc(AEDescList* list, long index, const AEDesc* desc)
{
    if (!list || !desc || list->descriptorType != typeAEList)
        return errAENotAEDesc;
    if (index <= 0 || std::size_t(index) > list->items.size())
        list->items.push_back(*desc);
    else
        list->items[std::size_t(index) - 1] = *desc;
    return noErr;
}

OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, const AEAddressDesc* target, SInt16, SInt32,
                         AppleEvent* result)
{
    if (!result || !target)
        return paramErr;
    *result = AEDesc{};
    result->descriptorType = typeAppleEvent;
    result->eventClass = eventClass;
    result->eventID = eventID;
    result->parameters.emplace_back(keyAddressAttr, *target);
    return noErr;
}

OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc)
{
    if (!event || !desc || event->descriptorType != typeAppleEvent)
        return errAENotAEDesc;
    for (auto& [key, value] : event->parameters) {
        if (key == keyword) {
            value = *desc;
            return noErr;
        }
    }
    event->parameters.emplace_back(keyword, *desc);
    return noErr;
}

OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType type, const void* data, Size size)
{
    AEDesc desc;
    const OSErr err = AECreateDesc(type, data, size, &desc);
    return err ? err : AEPutParamDesc(event, keyword, &desc);
}

OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, AEDesc* result)
{
    if (!event || !result)
        return paramErr;
    for (const auto& [key, value] : event->parameters) {
        if (key == keyword) {
            *result = value;
            return noErr;
        }
    }
    return errAEDescNotFound;
}

OSErr AEDisposeDesc(AEDesc* desc)
{
    if (desc)
        *desc = AEDesc{};
    return noErr;
}

OSErr AEInteractWithUser(SInt32, void*, void*)
{
    return noErr;
}

OSErr AESend(const AppleEvent* event, AppleEvent* reply, AESendMode, SInt16, SInt32, void*, void*)
{
    if (!event || event->descriptorType != typeAppleEvent)
        return errAENotAEDesc;
    if (reply)
        *reply = AEDesc{};
    if (!IsFinder(*event))
        return errAEEventNotHandled;
    const bool open = (event->eventClass == kCoreEventClass && event->eventID == kAEOpenDocuments) ||
                      (event->eventClass == kAEFinderEvents && event->eventID == kAEOpenSelection);
    const bool reveal = (event->eventClass == kAEMiscStandards && event->eventID == kAEMakeObjectsVisible) ||
                        (event->eventClass == kAEFinderEvents && event->eventID == kAERevealSelection);
    std::vector<std::string> paths;
    if (!open && !reveal)
        return errAEEventNotHandled;
    if (const OSErr err = DirectPaths(*event, &paths))
        return err;
    if (open) {
        for (const std::string& path : paths) {
            if (const OSErr err = StartInBackground(MapCommandLine({"/usr/bin/open", path})))
                return err;
        }
        return noErr;
    }
    std::string uris;
    for (const std::string& path : paths)
        uris += std::string(uris.empty() ? "" : ",") + "file://" + PercentEncodedPath(path);
    return StartInBackground({"dbus-send", "--session", "--type=method_call", "--dest=org.freedesktop.FileManager1",
                              "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1.ShowItems",
                              "array:string:" + uris, "string:"});
}

OSErr NewAliasDesc(const FSSpec* spec, AEDesc* result)
{
    FSRef ref{};
    char path[1024];
    OSErr err = FSpMakeFSRef(spec, &ref);
    if (!err)
        err = FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path), sizeof path);
    return err ? err : AECreateDesc(typeAlias, path, Size(std::strlen(path)), result);
}
