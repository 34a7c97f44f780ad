#pragma once
// A view that shows one of its panels at a time (Qt's stacked widget); panels are
// numbered from 1. With the property `panels` (resource IDs, "1001 1002 …") each panel
// is built from its own description when first shown, and the pages drawn inside the
// stack in the description are dropped; without it, those pages are the panels.

#include <QStackedWidget>

#include <vector>

#include "framework/LView.h"

class LMultiPanelView : public LView {
public:
    explicit LMultiPanelView(QStackedWidget* stack);

    SInt16 GetPanelCount() const;
    // 0 when no panel is shown.
    SInt16 GetCurrentIndex() const;
    LView* GetCurrentPanel() const { return GetPanel(GetCurrentIndex()); }
    // Null when it does not exist or is not built yet.
    LView* GetPanel(SInt16 index) const;
    // 0 for panels drawn in the description.
    ResIDT GetPanelResID(SInt16 index) const;
    // The size its own description gives a panel, whatever the view's size (windows
    // resize to fit their panels); a panel drawn in the view has the view's size.
    // 0 × 0 for a panel not built.
    SDimension16 GetPanelSize(SInt16 index) const;

    // Builds the panel when needed; a panel that does not exist is not shown. A
    // missing description raises 'nilP'.
    void SwitchToPanel(SInt16 index);
    LView* CreatePanel(SInt16 index);

private:
    QStackedWidget* Stack() const { return static_cast<QStackedWidget*>(GetWidget()); }

    std::vector<ResIDT> mPanelIDs;
    // Of panels built from descriptions, by index − 1; null until built.
    std::vector<LView*> mBuiltPanels;
    std::vector<SDimension16> mPanelSizes;
};
