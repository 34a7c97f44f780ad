// UFile: events to the desktop's file manager, the processes, and compiled scripts.

#include <cstring>
#include <string>

#include "filesystem/UFile.h"
#include "platform/MacRoman.h"
#include "platform/OSA.h"

namespace UFile {

namespace {

constexpr AESendMode kSendMode = kAENoReply | kAECanInteract | kAECanSwitchLayer; // 0x71
constexpr ProcessSerialNumber kThisApplication{0, kCurrentProcess};

OSErr SendToFinder(AEEventClass eventClass, AEEventID eventID, const FSSpec* specs, long count)
{
    if (count <= 0 || !specs)
        return paramErr;
    const OSType signature = kFinderSignature;
    const char target[] = {char(signature >> 24), char(signature >> 16), char(signature >> 8), char(signature)};
    AEAddressDesc address;
    AEDescList list;
    AppleEvent event;
    OSErr err = AECreateDesc(typeApplSignature, target, sizeof target, &address);
    if (!err)
        err = AECreateAppleEvent(eventClass, eventID, &address, 0, 0, &event);
    if (!err)
        err = AECreateList(&list);
    for (long i = 0; i < count && !err; ++i) {
        AEDesc alias;
        err = NewAliasDesc(&specs[i], &alias);
        if (!err)
            err = AEPutDesc(&list, 0, &alias);
    }
    if (!err)
        err = AEPutParamDesc(&event, keyDirectObject, &list);
    if (!err)
        err = AESend(&event, nullptr, kSendMode, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr);
    return err;
}

} // namespace

OSErr SendOpenFileOrFolderEvent(short vRefNum, long dirID, ConstStr255Param name, Boolean reveal)
{
    // No keyboard is read below the window toolkit: the Control key is never down here.
    FSSpec spec{};
    if (MakeFileSpec(vRefNum, dirID, name, &spec) != noErr)
        return fnfErr;
    return reveal ? NewSendRevealFileAppleEvent(&spec, 1) : NewSendOpenFileAppleEvent(&spec, 1);
}

OSErr NewSendActivateFinderAppleEvent()
{
    ProcessSerialNumber psn;
    const OSErr err = FindAProcess(kFinderType, kFinderSignature, &psn, nullptr);
    return err ? err : SetFrontProcess(&psn);
}

OSErr NewSendOpenFileAppleEvent(const FSSpec* specs, long count)
{
    if (count <= 0 || !specs)
        return paramErr;
    if (count != 1 || IsFolder(specs->vRefNum, specs->parID, specs->name))
        NewSendActivateFinderAppleEvent();
    return SendToFinder(kCoreEventClass, kAEOpenDocuments, specs, count);
}

OSErr NewSendRevealFileAppleEvent(const FSSpec* specs, long count)
{
    NewSendActivateFinderAppleEvent();
    return SendToFinder(kAEMiscStandards, kAEMakeObjectsVisible, specs, count);
}

Boolean CreateFinderAppleEvent(AppleEvent* event, AEEventID eventID, Boolean interact)
{
    ProcessSerialNumber finder;
    AEAddressDesc address;
    if (FindAProcess(kFinderType, kFinderSignature, &finder, nullptr) != noErr ||
        AECreateDesc(typeProcessSerialNumber, &finder, sizeof finder, &address) != noErr ||
        AECreateAppleEvent(kAEFinderEvents, eventID, &address, 0, 0, event) != noErr)
        return false;
    if (interact && AEInteractWithUser(kAEDefaultTimeout, nullptr, nullptr) == noErr)
        SetFrontProcess(&finder);
    return true;
}

Boolean AddFileToAppleEvent(AppleEvent* event, const FSSpec* spec, AEKeyword key)
{
    return AEPutParamPtr(event, key, typeFSS, spec, sizeof *spec) == noErr;
}

OSErr SendFileEvent(short vRefNum, long dirID, ConstStr255Param name, AEEventID eventID, Boolean interact)
{
    FSSpec spec{};
    AppleEvent event;
    OSErr err = MakeFileSpec(vRefNum, dirID, name, &spec);
    if (!err && !CreateFinderAppleEvent(&event, eventID, interact))
        err = procNotFound;
    if (!err && !AddFileToAppleEvent(&event, &spec, keyDirectObject))
        err = paramErr;
    if (!err)
        err = AESend(&event, nullptr, kSendMode, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr);
    return err;
}

OSErr FindAProcess(OSType type, OSType creator, ProcessSerialNumber* psn, ProcessInfoRec* info)
{
    ProcessSerialNumber current{0, kNoProcess};
    ProcessInfoRec found{};
    OSErr err;
    while ((err = GetNextProcess(&current)) == noErr) {
        found = ProcessInfoRec{};
        found.processInfoLength = sizeof found;
        if (GetProcessInformation(&current, &found) == noErr && found.processType == type &&
            found.processSignature == creator)
            break;
    }
    if (!err) {
        *psn = current;
        if (info)
            *info = found;
    }
    return err;
}

Boolean IsFrontProcess()
{
    ProcessSerialNumber front;
    ProcessSerialNumber self;
    Boolean same = false;
    return GetFrontProcess(&front) == noErr && GetCurrentProcess(&self) == noErr &&
           SameProcess(&front, &self, &same) == noErr && same;
}

OSErr SetMeFrontProcess()
{
    ProcessSerialNumber self;
    OSErr err = GetCurrentProcess(&self);
    if (!err && !IsFrontProcess())
        err = SetFrontProcess(&self);
    return err;
}

Boolean RunAppleScript(const FSSpec* scriptFile, ConstStr255Param text)
{
    SInt16 fork = 0;
    SInt32 length = 0;
    if (FSpOpenDF(scriptFile, fsRdPerm, &fork) != noErr)
        return false;
    std::string bytes;
    if (GetEOF(fork, &length) == noErr && length > 0) {
        bytes.resize(std::size_t(length));
        if (FSRead(fork, &length, bytes.data()) != noErr)
            bytes.clear();
    }
    FSClose(fork);
    if (bytes.empty())
        return false;
    AEDesc script;
    AEAddressDesc self;
    AppleEvent event;
    AEDescList arguments;
    AEDesc argument;
    const std::string handler = "applescriptentry";
    const std::string argumentText = UTF8FromMacRoman(Str255View(text));
    OSErr err = AECreateDesc(typeOSAGenericStorage, bytes.data(), Size(bytes.size()), &script);
    if (!err)
        err = AECreateDesc(typeProcessSerialNumber, &kThisApplication, sizeof kThisApplication, &self);
    if (!err)
        err = AECreateAppleEvent(kASAppleScriptSuite, kASSubroutineEvent, &self, 0, 0, &event);
    if (!err)
        err = AECreateList(&arguments);
    if (!err)
        err = AECreateDesc(typeChar, argumentText.data(), Size(argumentText.size()), &argument);
    if (!err)
        err = AEPutDesc(&arguments, 0, &argument);
    if (!err)
        err = AEPutParamDesc(&event, keyDirectObject, &arguments);
    if (!err)
        err = AEPutParamPtr(&event, keyASSubroutineName, typeChar, handler.data(), Size(handler.size()));
    if (!err)
        err = ExecuteCompiledAppleScriptEvent(&script, &event, nullptr);
    return (err & 0xFF) != 0;
}

OSErr ExecuteCompiledAppleScriptEvent(const AEDesc* script, const AppleEvent* event, AEDesc* resultText)
{
    ComponentInstance component = OpenDefaultComponent(kOSAComponentType, kAppleScriptSubtype);
    if (!component)
        return paramErr;
    const Boolean wasFront = IsFrontProcess();
    OSAID scriptID = kOSANullScript;
    OSAID resultID = kOSANullScript;
    OSErr err = OSALoad(component, script, kOSAModeNull, &scriptID);
    if (!err)
        err = OSAExecuteEvent(component, event, scriptID, kOSAModeNull, &resultID);
    if (resultText && err == errOSAScriptError)
        OSAScriptError(component, kOSAErrorMessage, typeChar, resultText);
    else if (resultText && !err)
        OSADisplay(component, resultID, typeChar, kOSAModeNull, resultText);
    OSADispose(component, resultID);
    OSADispose(component, scriptID);
    CloseComponent(component);
    if (wasFront)
        SetMeFrontProcess();
    return err;
}

} // namespace UFile
