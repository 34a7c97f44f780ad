#include <gtest/gtest.h>

#include <QLabel>

#include <functional>
#include <string>

#include "framework/LCaption.h"
#include "framework/LDialogBox.h"
#include "framework/LEditText.h"
#include "framework/LMultiPanelView.h"
#include "framework/LPopupButton.h"
#include "framework/LProgressBar.h"
#include "framework/LStaticText.h"
#include "framework/LStdButton.h"
#include "framework/LTextEditView.h"
#include "framework/UDesktop.h"
#include "framework/UException.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using namespace frameworktest;

using UReanimatorTest = WindowTest;

template <typename PaneClass>
bool IsA(LPane* pane)
{
    return dynamic_cast<PaneClass*>(pane) != nullptr;
}

TEST_F(UReanimatorTest, FindsEveryPaneOfTheDescriptionByIDWithItsClass)
{
    struct Case {
        PaneIDT paneID;
        std::function<bool(LPane*)> isExpectedClass;
        const char* descriptor; // null: not checked
    };
    const Case cases[] = {
        {1, IsA<LStaticText>, "Caption"},
        {2, IsA<LStdButton>, "Check"},
        {3, IsA<LStdButton>, "One"},
        {5, IsA<LStdButton>, "Three"},
        {6, IsA<LPopupButton>, "Alpha"},
        {7, IsA<LEditText>, "-42 apples"},
        {8, IsA<LProgressBar>, nullptr},
        {20, IsA<LView>, ""},
        {21, IsA<LStaticText>, "Inside"}, // in a group box
        {50, IsA<LStaticText>, "Scrolled"}, // in a scroll area, behind Qt's own widgets
        {30, IsA<LMultiPanelView>, ""},
        {40, IsA<DrawnPane>, ""}, // a registered class
        {10, IsA<LStdButton>, "OK"},
        {11, IsA<LStdButton>, "Cancel"},
    };
    for (const Case& c : cases) {
        LPane* pane = mWindow->FindPaneByID(c.paneID);
        ASSERT_NE(pane, nullptr) << "pane " << c.paneID;
        EXPECT_TRUE(c.isExpectedClass(pane)) << "pane " << c.paneID;
        if (c.descriptor == nullptr)
            continue;
        Str255 descriptor;
        pane->GetDescriptor(descriptor);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(descriptor + 1), descriptor[0]), c.descriptor)
            << "pane " << c.paneID;
    }
    EXPECT_TRUE(IsA<LDialogBox>(mWindow));
    EXPECT_EQ(mWindow->GetPaneID(), 1000);
    EXPECT_EQ(mWindow->FindPaneByID(999), nullptr);
    EXPECT_EQ(mWindow->FindPaneByID(0), nullptr) << "panes without an ID cannot be looked up";
    EXPECT_EQ(mWindow->FindPaneByID(21)->GetSuperView(), mWindow->FindPaneByID(20));
    EXPECT_EQ(mWindow->FindPaneByID(21)->GetWindow(), mWindow);
}

TEST_F(UReanimatorTest, ShowsTheWindowOnlyWhenItsAttributesSaySo)
{
    EXPECT_TRUE(mWindow->IsVisible()) << "1000 has the show-new attribute";
    LWindow* plain = LWindow::CreateWindow(1005, nullptr);
    EXPECT_FALSE(plain->IsVisible());
    EXPECT_EQ(plain->GetPaneID(), 77) << "its own pane ID wins over the resource ID";
    delete plain;
}

TEST_F(UReanimatorTest, LinksAListenerToEveryControlOfTheControlList)
{
    RecordingListener listener;
    UReanimator::LinkListenerToControls(&listener, mWindow, 1000);

    Find<LStdButton>(2)->SimulateHotSpotClick();
    Find<LPopupButton>(6)->SetValue(3);
    Find<LStdButton>(4)->SimulateHotSpotClick();
    Find<LStdButton>(10)->SimulateHotSpotClick();

    ASSERT_EQ(listener.mReceived.size(), 4u);
    EXPECT_EQ(listener.mReceived[0].message, MessageT(MakeOSType("Chk1")));
    EXPECT_EQ(listener.mReceived[0].value, 1);
    EXPECT_EQ(listener.mReceived[1].message, MessageT(MakeOSType("Pop1")));
    EXPECT_EQ(listener.mReceived[1].value, 3);
    EXPECT_EQ(listener.mReceived[2].message, MessageT(MakeOSType("Rad2")));
    EXPECT_EQ(listener.mReceived[3].message, msg_OK);
}

TEST(UReanimator, RaisesNilPointerForDescriptionsItCannotBuild)
{
    StResourceFolder descriptions(TestDescriptions());
    struct Case {
        ResIDT resID;
        const char* why;
    };
    const Case cases[] = {{1999, "missing"}, {1003, "names a class not registered"}, {1004, "not well-formed"}};
    for (const Case& c : cases) {
        const std::size_t windowsBefore = UDesktop::GetWindowList().size();
        try {
            LWindow::CreateWindow(c.resID, nullptr);
            ADD_FAILURE() << c.why << ": no exception";
        } catch (const LException& error) {
            EXPECT_EQ(error.GetErrorCode(), err_NilPointer) << c.why;
        }
        EXPECT_EQ(UDesktop::GetWindowList().size(), windowsBefore) << c.why << ": a half-built window is left";
    }
}

TEST(UReanimator, ShowsTextsAsTheyAreNeverAsMarkup)
{
    StResourceFolder descriptions(TestDescriptions());
    LWindow* window = LWindow::CreateWindow(1005, nullptr);
    for (PaneIDT paneID : {1, 2}) {
        auto* label = qobject_cast<QLabel*>(window->FindPaneByID(paneID)->GetWidget());
        ASSERT_NE(label, nullptr) << "pane " << paneID;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << "pane " << paneID;
    }
    EXPECT_NE(dynamic_cast<LCaption*>(window->FindPaneByID(2)), nullptr) << "the framework's class 'capt'";

    LPane* notes = window->FindPaneByID(3);
    ASSERT_NE(dynamic_cast<LTextEditView*>(notes), nullptr);
    const unsigned char markup[] = "\x08" "<b>x</b>";
    notes->SetDescriptor(markup);
    Str255 back;
    notes->GetDescriptor(back);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back + 1), back[0]), "<b>x</b>");
    delete window;
}

} // namespace
