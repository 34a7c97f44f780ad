#pragma once
// The Apple Event Manager, as far as the system sends events: descriptors, lists and
// events with parameters. Sending delivers events to the desktop's file manager (the
// Finder) the freedesktop way: open ('aevt' 'odoc', 'FNDR' 'sope') runs xdg-open on
// each item, reveal ('misc' 'mvis', 'FNDR' 'srev') calls
// org.freedesktop.FileManager1.ShowItems through dbus-send; both are found on the PATH
// and run in the background. An alias ('alis') holds the item's POSIX path.

#include <string>
#include <utility>
#include <vector>

#include "platform/Processes.h"

using DescType = OSType;
using AEKeyword = OSType;
using AEEventClass = OSType;
using AEEventID = OSType;
using AESendMode = SInt32;

enum : DescType {
    typeNull = MakeOSType("null"),
    typeAEList = MakeOSType("list"),
    typeAppleEvent = MakeOSType("aevt"),
    typeChar = MakeOSType("TEXT"),
    typeAlias = MakeOSType("alis"),
    typeFSS = MakeOSType("fss "),
    typeApplSignature = MakeOSType("sign"),
    typeProcessSerialNumber = MakeOSType("psn "),
    typeOSAGenericStorage = MakeOSType("scpt"),
};

enum : AEKeyword {
    keyDirectObject = MakeOSType("----"),
    keyASSubroutineName = MakeOSType("snam"),
};

enum : AEEventClass {
    kCoreEventClass = MakeOSType("aevt"),
    kAEMiscStandards = MakeOSType("misc"),
    kAEFinderEvents = MakeOSType("FNDR"),
    kASAppleScriptSuite = MakeOSType("ascr"),
};

enum : AEEventID {
    kAEOpenDocuments = MakeOSType("odoc"),
    kAEMakeObjectsVisible = MakeOSType("mvis"),
    kAEOpenSelection = MakeOSType("sope"),
    kAERevealSelection = MakeOSType("srev"),
    kASSubroutineEvent = MakeOSType("psbr"),
};

enum : AESendMode {
    kAENoReply = 0x00000001,
    kAECanInteract = 0x00000020,
    kAECanSwitchLayer = 0x00000040,
};

enum : SInt16 {
    kAENormalPriority = 0,
};

enum : SInt32 {
    kAEDefaultTimeout = -1,
};

enum : OSErr {
    errAECoercionFail = -1700,
    errAEDescNotFound = -1701,
    errAEEventNotHandled = -1708,
    errAENotAEDesc = -1704,
};

// A descriptor: a value of a type, the items of a list, or an event with its target
// and parameters.
struct AEDesc {
    DescType descriptorType = typeNull;
    std::string data;
    std::vector<AEDesc> items;
    std::vector<std::pair<AEKeyword, AEDesc>> parameters;
    AEEventClass eventClass = 0;
    AEEventID eventID = 0;
};
using AppleEvent = AEDesc;
using AEDescList = AEDesc;
using AEAddressDesc = AEDesc;

OSErr AECreateDesc(DescType type, const void* data, Size size, AEDesc* result);
OSErr AECreateList(AEDescList* result);
OSErr AEPutDesc(AEDescList* list, long index, const AEDesc* desc);
OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, const AEAddressDesc* target, SInt16 returnID,
                         SInt32 transactionID, AppleEvent* result);
OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc);
OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType type, const void* data, Size size);
// The parameter's descriptor; errAEDescNotFound when the event has none.
OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, AEDesc* result);
OSErr AEDisposeDesc(AEDesc* desc);
OSErr AEInteractWithUser(SInt32 timeout, void* notification, void* idleProc);
OSErr AESend(const AppleEvent* event, AppleEvent* reply, AESendMode mode, SInt16 priority, SInt32 timeout,
             void* idleProc, void* filterProc);

// An alias of the item at `path`, as this platform keeps it.
OSErr NewAliasDesc(const FSSpec* spec, AEDesc* result);
