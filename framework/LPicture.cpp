#include "framework/LPicture.h"

LPicture::LPicture(QWidget* widget) : LPane(widget)
{
    SetPictureID(SInt16(GetNumberProperty("pictureID")));
    InterceptEvents(true, false);
}

void LPicture::SetPictureID(SInt16 pictureID)
{
    mPictureID = pictureID;
    mPicture.reset(pictureID != 0 ? GetPicture(pictureID) : nullptr);
    Refresh();
}

void LPicture::DrawSelf()
{
    if (!mPicture)
        return;
    Rect frame;
    CalcLocalFrameRect(frame);
    DrawPicture(mPicture.get(), &frame);
}
