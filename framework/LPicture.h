#pragma once
// A picture pane: draws the picture of its `pictureID` property (QuickDraw.h) scaled
// into its frame; nothing when there is no such picture.

#include <memory>

#include "framework/LPane.h"
#include "framework/QuickDraw.h"

class LPicture : public LPane {
public:
    explicit LPicture(QWidget* widget);

    SInt16 GetPictureID() const { return mPictureID; }
    void SetPictureID(SInt16 pictureID);

protected:
    void DrawSelf() override;
    // Null when there is none.
    PicHandle GetPictureHandle() const { return mPicture.get(); }

private:
    struct Release {
        void operator()(PicHandle picture) const { ReleasePicture(picture); }
    };

    SInt16 mPictureID = 0;
    std::unique_ptr<OpaquePicHandle, Release> mPicture;
};
