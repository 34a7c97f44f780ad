#pragma once
// A picture drawn through a mask picture (class 'PicM', property `maskID`): it shows
// only where the mask, scaled to the pane, is black. Without a mask, or when either
// picture is missing, it draws as a plain picture.

#include "framework/LPicture.h"

class CPictureMasked : public LPicture {
public:
    explicit CPictureMasked(QWidget* widget);

protected:
    void DrawSelf() override;

private:
    SInt16 mMaskID;
};
