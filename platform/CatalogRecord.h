#pragma once
// Reading and writing an item's catalog information: the classic record
// (CInfoPBRec) and the full one (FSCatalogInfo), over the item's status, its
// extended attributes and its immutable flag (the lock).
//
// Special files appear the HFS+ way: a symbolic link is a file of type 'slnk' and
// creator 'rhap'; FIFOs and device nodes carry their node type in the permissions
// mode and the device number in the fourth permissions word. Writing type 'slnk'
// and creator 'rhap' onto a regular file makes it a symbolic link to its content;
// writing a FIFO or device mode onto an empty regular file makes it that node.
//
// A mount point inside a volume is not changed by any of the writes (permErr).

#include "platform/Catalog.h"
#include "platform/FinderInfo.h"

namespace CatalogRecord {

// Fills everything but ioNamePtr, ioVRefNum and ioFDirIndex.
OSErr GetClassic(const CatalogItem& item, CInfoPBRec* pb);
// Finder information and modification date; the lock bit is left alone.
OSErr SetClassic(CatalogItem& item, const CInfoPBRec& pb);

OSErr GetFull(const CatalogItem& item, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* info);
OSErr SetFull(CatalogItem& item, FSCatalogInfoBitmap whichInfo, const FSCatalogInfo& info);

// The immutable flag.
OSErr SetLocked(const CatalogItem& item, bool locked);
// `err` of a change refused by the system, as fLckdErr when the item is locked.
OSErr LockedAware(const CatalogItem& item, OSErr err);

// Owner, group and mode: an unchanged owner is not written again, since a change
// of owner clears the set-uid and set-gid bits and the file capabilities.
OSErr SetOwnerAndMode(const CatalogItem& item, uid_t owner, gid_t group, mode_t mode);

// The device number of a node as the fourth permissions word, and back.
UInt32 DeviceWord(dev_t device);
dev_t DeviceFromWord(UInt32 word);

} // namespace CatalogRecord
