#include "framework/LMultiPanelView.h"

#include <QRegularExpression>
#include <QVariant>

#include "framework/UException.h"
#include "framework/UReanimator.h"

LMultiPanelView::LMultiPanelView(QStackedWidget* stack) : LView(stack)
{
    const QString panels = stack->property("panels").toString();
    if (panels.isEmpty())
        return;
    for (const QString& id : panels.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts))
        mPanelIDs.push_back(ResIDT(id.toInt()));
    mBuiltPanels.assign(mPanelIDs.size(), nullptr);
    mPanelSizes.assign(mPanelIDs.size(), SDimension16{0, 0});
    while (stack->count() > 0) {
        QWidget* page = stack->widget(0);
        stack->removeWidget(page);
        delete page;
    }
}

SInt16 LMultiPanelView::GetPanelCount() const
{
    if (!mPanelIDs.empty())
        return SInt16(mPanelIDs.size());
    return Stack() ? SInt16(Stack()->count()) : 0;
}

SInt16 LMultiPanelView::GetCurrentIndex() const
{
    QStackedWidget* stack = Stack();
    if (stack == nullptr || stack->currentWidget() == nullptr)
        return 0;
    if (mPanelIDs.empty())
        return SInt16(stack->currentIndex() + 1);
    for (std::size_t i = 0; i < mBuiltPanels.size(); ++i) {
        if (mBuiltPanels[i] != nullptr && mBuiltPanels[i]->GetWidget() == stack->currentWidget())
            return SInt16(i + 1);
    }
    return 0;
}

LView* LMultiPanelView::GetPanel(SInt16 index) const
{
    if (index < 1 || index > GetPanelCount())
        return nullptr;
    if (!mPanelIDs.empty())
        return mBuiltPanels[index - 1];
    QWidget* page = Stack()->widget(index - 1);
    for (const auto& pane : GetSubPanes()) {
        if (pane->GetWidget() == page)
            return dynamic_cast<LView*>(pane.get());
    }
    return nullptr;
}

ResIDT LMultiPanelView::GetPanelResID(SInt16 index) const
{
    return index >= 1 && std::size_t(index) <= mPanelIDs.size() ? mPanelIDs[index - 1] : 0;
}

SDimension16 LMultiPanelView::GetPanelSize(SInt16 index) const
{
    if (!mPanelIDs.empty())
        return index >= 1 && std::size_t(index) <= mPanelSizes.size() ? mPanelSizes[index - 1] : SDimension16{0, 0};
    SDimension16 size = {0, 0};
    if (LView* panel = GetPanel(index))
        panel->GetFrameSize(size);
    return size;
}

LView* LMultiPanelView::CreatePanel(SInt16 index)
{
    if (LView* panel = GetPanel(index); panel != nullptr || GetPanelResID(index) == 0)
        return panel;
    std::unique_ptr<LPane> root = UReanimator::ReadObjects(GetPanelResID(index), Stack());
    auto* panel = dynamic_cast<LView*>(root.get());
    if (panel == nullptr)
        throw LException(err_NilPointer);
    panel->GetFrameSize(mPanelSizes[index - 1]);
    Stack()->addWidget(panel->GetWidget());
    mBuiltPanels[index - 1] = panel;
    AddSubPane(std::move(root));
    panel->FinishCreate();
    return panel;
}

void LMultiPanelView::SwitchToPanel(SInt16 index)
{
    if (LView* panel = CreatePanel(index))
        Stack()->setCurrentWidget(panel->GetWidget());
}
