#pragma once
// The comparison of two folder hierarchies (two volumes in the compare window):
// walks both one level at a time with the pairing of the action run and reports
// every item that differs, with what differs, to its sink.

#include "engine/CBaseActionThread.h"

class CCompareSink;
struct CompFolderStruct;

class CCompareThread : public CBaseActionThread {
public:
    // The folders (2 for volume roots) compared; `sink` is not owned.
    CCompareThread(SInt16 firstVRefNum, SInt32 firstDirID, SInt16 secondVRefNum, SInt32 secondDirID,
                   CCompareSink* sink);

    void RunSelf() override;

    UInt32 mComparedFiles = 0; // progress: files of the first side compared so far

private:
    void AddItem(ConstStr255Param name, UInt8 differences, Boolean isFolder);
    void ComparePair(const CompFolderStruct& first, const CompFolderStruct& second);
    // Owner, group, access rights or set-uid bit differ.
    Boolean OwnersDiffer(const CompFolderStruct& first, const CompFolderStruct& second);
    void Descend(const CompFolderStruct& first, const CompFolderStruct* second);

    CCompareSink* mSink;
};
