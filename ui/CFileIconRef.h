#pragma once
// A pane that shows an item's icon (class 'icRf'). Without an item, or when the item
// has no icon (it is gone, say), it shows the generic folder icon.

#include "framework/LPane.h"

class CFileIconRef : public LPane {
public:
    explicit CFileIconRef(QWidget* widget);

    // Null clears the item.
    void SetIconFSSpec(const FSSpec* item);

protected:
    void DrawSelf() override;

private:
    SInt16 mVRefNum = 0;
    SInt32 mDirID = 0;
    Str255 mName = {0};
};
