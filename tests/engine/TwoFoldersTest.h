#pragma once
// A fresh volume with a folder "source" and a folder "dest", for the item actions.

#include "tests/platform/FilesTestSupport.h"

class TwoFoldersTest : public filestest::VolumeTest {
protected:
    void SetUp() override
    {
        VolumeTest::SetUp();
        if (!mVolume)
            return;
        std::filesystem::create_directories(*this / "source");
        std::filesystem::create_directories(*this / "dest");
        mSourceID = filestest::FolderID(*this / "source");
        mDestID = filestest::FolderID(*this / "dest");
    }

    SInt32 mSourceID = 0;
    SInt32 mDestID = 0;
};
