#include "framework/LView.h"

LView::LView(QWidget* widget) : LPane(widget) {}

LView::~LView() = default;

void LView::AddSubPane(std::unique_ptr<LPane> pane)
{
    pane->SetSuperView(this);
    mSubPanes.push_back(std::move(pane));
}

LPane* LView::FindPaneByID(PaneIDT paneID)
{
    if (LPane::FindPaneByID(paneID) != nullptr)
        return this;
    for (const auto& pane : mSubPanes) {
        if (LPane* found = pane->FindPaneByID(paneID))
            return found;
    }
    return nullptr;
}

LPane* LView::FindSubPaneHitBy(Point wherePort) const
{
    for (const auto& pane : mSubPanes) {
        if (pane->IsVisible() && pane->PointIsInFrame(wherePort))
            return pane.get();
    }
    return nullptr;
}

void LView::FinishCreate()
{
    for (const auto& pane : mSubPanes)
        pane->FinishCreate();
    LPane::FinishCreate();
}
