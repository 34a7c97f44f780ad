#include <gtest/gtest.h>

#include "framework/LMultiPanelView.h"
#include "framework/LStdButton.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using namespace frameworktest;

using LMultiPanelViewTest = WindowTest;

TEST_F(LMultiPanelViewTest, BuildsEachPanelFromItsDescriptionWhenFirstShown)
{
    auto* view = Find<LMultiPanelView>(30);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetPanelCount(), 2);
    EXPECT_EQ(view->GetCurrentIndex(), 0);
    EXPECT_EQ(mWindow->FindPaneByID(101), nullptr) << "built before it was shown";

    view->SwitchToPanel(2);
    EXPECT_EQ(view->GetCurrentIndex(), 2);
    EXPECT_EQ(view->GetPanel(1), nullptr);
    ASSERT_NE(mWindow->FindPaneByID(201), nullptr);
    EXPECT_EQ(mWindow->FindPaneByID(201)->GetWindow(), mWindow);

    view->SwitchToPanel(1);
    LView* first = view->GetCurrentPanel();
    ASSERT_NE(first, nullptr);
    view->SwitchToPanel(2);
    view->SwitchToPanel(1);
    EXPECT_EQ(view->GetCurrentPanel(), first) << "built again";
    EXPECT_EQ(view->GetPanelResID(1), 1001);

    view->SwitchToPanel(3);
    EXPECT_EQ(view->GetCurrentIndex(), 1) << "a panel that does not exist is not shown";
}

TEST_F(LMultiPanelViewTest, KnowsTheSizeEachPanelsDescriptionGivesIt)
{
    auto* view = Find<LMultiPanelView>(30);
    EXPECT_EQ(view->GetPanelSize(2).height, 0) << "not built yet";
    view->SwitchToPanel(2);
    mWindow->Show();
    const SDimension16 described = view->GetPanelSize(2);
    EXPECT_EQ(described.width, 260);
    EXPECT_EQ(described.height, 120) << "taller than the view, as its description has it";
    SDimension16 shown;
    view->GetCurrentPanel()->GetFrameSize(shown);
    EXPECT_EQ(shown.height, 80) << "shown at the view's size";
}

TEST_F(LMultiPanelViewTest, PanelHasTheControlListOfItsDescription)
{
    auto* view = Find<LMultiPanelView>(30);
    view->SwitchToPanel(1);
    RecordingListener listener;
    UReanimator::LinkListenerToControls(&listener, view->GetPanel(1), view->GetPanelResID(1));
    dynamic_cast<LStdButton*>(mWindow->FindPaneByID(101))->SimulateHotSpotClick();
    ASSERT_EQ(listener.mReceived.size(), 1u);
    EXPECT_EQ(listener.mReceived[0].message, MessageT(MakeOSType("P1Bt")));
}

} // namespace
