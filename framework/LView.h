#pragma once
// A pane that contains panes: it owns its sub-panes, in the order of its description.

#include <memory>
#include <vector>

#include "framework/LPane.h"

class LView : public LPane {
public:
    explicit LView(QWidget* widget);
    ~LView() override;

    void AddSubPane(std::unique_ptr<LPane> pane);
    const std::vector<std::unique_ptr<LPane>>& GetSubPanes() const { return mSubPanes; }

    // This view when it has the ID, else the first match depth first.
    LPane* FindPaneByID(PaneIDT paneID) override;
    // The direct sub-pane whose frame holds the point (window content coordinates).
    LPane* FindSubPaneHitBy(Point wherePort) const;

    // Sub-panes first, then the view itself.
    void FinishCreate() override;

private:
    std::vector<std::unique_ptr<LPane>> mSubPanes;
};
