#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <string>

#include "framework/LPopupButton.h"
#include "framework/LStaticText.h"
#include "framework/LStdButton.h"
#include "framework/UDesktop.h"
#include "framework/UPascalText.h"
#include "platform/Gestalt.h"
#include "platform/Resources.h"
#include "tests/toolkit/PStr.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/UDrawingWindows.h"

namespace {

using namespace uitest;

// A text pane (class 'Cnt1') that counts how often its text is set, each time a redraw.
class CountingText : public LStaticText {
public:
    using LStaticText::LStaticText;

    void SetDescriptor(ConstStr255Param text) override
    {
        ++mSets;
        LStaticText::SetDescriptor(text);
    }

    int mSets = 0;
};

std::string PaneText(LWindow& window, PaneIDT paneID)
{
    Str255 text;
    window.FindPaneByID(paneID)->GetDescriptor(text);
    return Text(text);
}

Rect Screen(Boolean inset)
{
    Rect screen;
    UDrawingWindows::GetScreenSize(&screen, inset);
    return screen;
}

SInt16 Width(const Rect& r)
{
    return SInt16(r.right - r.left);
}

SInt16 Height(const Rect& r)
{
    return SInt16(r.bottom - r.top);
}

class CWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterWindowClass();
        URegistrar::RegisterClass<CountingText, QLabel>(MakeOSType("Cnt1"));
        mWindow = dynamic_cast<CWindow*>(LWindow::CreateWindow(3002, nullptr));
        ASSERT_NE(mWindow, nullptr) << "window 3002 is a CWindow";
    }

    void TearDown() override { delete mWindow; }

    CountingText& Counted() { return *dynamic_cast<CountingText*>(mWindow->FindPaneByID(1)); }

    StResourceFolder mDescriptions{TestDescriptions()};
    CWindow* mWindow = nullptr;
};

TEST_F(CWindowTest, IsBuiltFromItsDescriptionWithEveryPaneByID)
{
    struct Case {
        PaneIDT paneID;
        const char* widgetClass;
    };
    const Case cases[] = {
        {1, "QLabel"},      {2, "QLabel"},    {10, "QRadioButton"}, {11, "QRadioButton"}, {12, "QRadioButton"},
        {20, "QComboBox"},  {30, "QLineEdit"}, {40, "QPushButton"}, {41, "QPushButton"},
    };
    EXPECT_EQ(mWindow->GetPaneID(), 3002) << "a window without its own pane ID has its resource ID";
    for (const Case& c : cases) {
        LPane* pane = mWindow->FindPaneByID(c.paneID);
        ASSERT_NE(pane, nullptr) << "pane " << c.paneID;
        EXPECT_STREQ(pane->GetWidget()->metaObject()->className(), c.widgetClass) << "pane " << c.paneID;
    }
    EXPECT_TRUE(CWindow::CheckIfWindowExists(mWindow));
    mWindow->Show();
    SaveForInspection(mWindow->GetWidget()->grab().toImage(), "cwindow-3002");
}

TEST_F(CWindowTest, SetItemStringSetsOnlyADifferentText)
{
    mWindow->SetItemString(1, PStr("Ready"));
    EXPECT_EQ(Counted().mSets, 0) << "the text it already shows";
    mWindow->SetItemString(1, PStr("ready"));
    EXPECT_EQ(Counted().mSets, 1) << "case is a difference";
    mWindow->SetItemString(1, PStr("ready"));
    EXPECT_EQ(Counted().mSets, 1);
    mWindow->SetItemString(1, nullptr);
    EXPECT_EQ(Counted().mSets, 2);
    EXPECT_EQ(PaneText(*mWindow, 1), "") << "a null text clears";
    mWindow->SetEmptyString(1);
    EXPECT_EQ(Counted().mSets, 2) << "it is empty already";
}

TEST_F(CWindowTest, SetItemStringFromAStringList)
{
    testsupport::TempFolder resources;
    resources.WriteFile("300.strings", "Ready\nCopying\n");
    SetResourceFolderForTesting(resources.Path().string());

    struct Case {
        ResIDT list;
        SInt16 index;
        const char* shown;
        int sets; // texts set so far
    };
    const Case cases[] = {
        {300, 1, "Ready", 0}, // the text it already shows
        {300, 2, "Copying", 1},
        {300, 2, "Copying", 1},
        {300, 3, "", 2},      // past the list's end
        {301, 1, "", 2},      // no such list
    };
    for (const Case& c : cases) {
        mWindow->SetItemString(1, c.list, c.index);
        EXPECT_EQ(PaneText(*mWindow, 1), c.shown) << "list " << c.list << " index " << c.index;
        EXPECT_EQ(Counted().mSets, c.sets) << "list " << c.list << " index " << c.index;
    }
    mWindow->SetItemString(99, 300, 1);
    SetResourceFolderForTesting("");
}

TEST_F(CWindowTest, PaneIDsTheWindowDoesNotHoldDoNothing)
{
    constexpr PaneIDT kMissing = 99;
    mWindow->SetItemString(kMissing, PStr("x"));
    mWindow->SetItemValue(kMissing, 1);
    mWindow->SetItemEnable(kMissing, false);
    mWindow->SetItemVisible(kMissing, false);
    mWindow->SelectAll(kMissing);
    Str255 text = {3, 'o', 'l', 'd'};
    mWindow->GetItemString(kMissing, text);
    EXPECT_EQ(Text(text), "");
    EXPECT_EQ(mWindow->GetItemLong(kMissing), 0);
    EXPECT_EQ(mWindow->GetItemState(kMissing), 0);
    EXPECT_EQ(mWindow->GetPopupmenuSelection(kMissing, text), 0);
    EXPECT_FALSE(mWindow->AddListenerToItem(kMissing, nullptr));
    EXPECT_FALSE(mWindow->AddListenerToItem(30, nullptr)) << "a text field broadcasts nothing";
}

TEST_F(CWindowTest, TextsAndNumbersOfPanes)
{
    EXPECT_EQ(mWindow->GetItemLong(30), -42) << "sign and digits as far as they go";
    mWindow->SetItemLong(30, 1234, 0);
    EXPECT_EQ(mWindow->GetItemLong(30), 1234);

    Str255 text;
    mWindow->GetItemString(2, text, 6);
    EXPECT_EQ(Text(text), "Copied");
    mWindow->ReplaceInItemString(2, PStr("^1"), PStr("12"));
    EXPECT_EQ(PaneText(*mWindow, 2), "Copied ^0 of 12 items");
    mWindow->ReplaceInDialog(PStr("^0"), PStr("3"));
    EXPECT_EQ(PaneText(*mWindow, 2), "Copied 3 of 12 items");
}

TEST_F(CWindowTest, GetRadioGroupAnswersTheFirstButtonOn)
{
    struct Case {
        PaneIDT on; // 0: none
        PaneIDT first;
        SInt32 count;
        SInt32 expected;
    };
    const Case cases[] = {
        {0, 10, 3, 0},  // none on
        {10, 10, 3, 0}, // the first on: the same answer
        {11, 10, 3, 1},
        {12, 10, 3, 2},
        {12, 10, 2, 0}, // beyond the count
        {12, 11, 5, 1}, // the search ends at the missing pane 13, having found 12
        {0, 98, 3, 0},  // no pane at all
    };
    for (const Case& c : cases) {
        for (PaneIDT radio = 10; radio <= 12; ++radio)
            mWindow->SetItemValue(radio, radio == c.on);
        EXPECT_EQ(mWindow->GetRadioGroup(c.first, c.count), c.expected)
            << "on " << c.on << ", from " << c.first << " for " << c.count;
    }
}

TEST_F(CWindowTest, PopupMenuSelection)
{
    mWindow->SetPopupmenuSelection(20, 2);
    Str255 text;
    EXPECT_EQ(mWindow->GetPopupmenuSelection(20, text), 2);
    EXPECT_EQ(Text(text), "Backup");
    EXPECT_EQ(mWindow->GetPopupmenuSelection(20, nullptr), 2);
    EXPECT_EQ(mWindow->GetPopupmenuSelection(1, text), 0) << "a text is no pop-up menu";
}

TEST_F(CWindowTest, AddsListenersToBroadcastingPanes)
{
    RecordingListener listener;
    EXPECT_TRUE(mWindow->AddListenerToItem(10, &listener));
    mWindow->SetItemValue(10, 1);
    EXPECT_EQ(listener.mReceived.size(), 1u);
}

TEST_F(CWindowTest, TitleIsSetOnlyWhenItDiffers)
{
    int changes = 0;
    QObject::connect(mWindow->GetWidget(), &QWidget::windowTitleChanged, [&changes] { ++changes; });
    mWindow->SetDescriptor(PStr("Panes"));
    EXPECT_EQ(changes, 0);
    mWindow->SetDescriptor(PStr("Volumes"));
    EXPECT_EQ(changes, 1);
}

TEST_F(CWindowTest, PlaceWindowNextToCascadesWhileTheWindowFits)
{
    const Rect screen = Screen(true);
    CWindow* other = dynamic_cast<CWindow*>(LWindow::CreateWindow(3002, nullptr));
    struct Case {
        const char* name;
        Point otherAt; // {v, h}
        Point expected;
    };
    const SInt16 w = Width(Bounds(*mWindow));
    const SInt16 h = Height(Bounds(*mWindow));
    const Case cases[] = {
        {"room enough", {100, 50}, {116, 58}},
        {"just fits at the bottom", {SInt16(screen.bottom - h - 16), 50}, {SInt16(screen.bottom - h), 58}},
        {"one pixel over the bottom", {SInt16(screen.bottom - h - 15), 50}, {SInt16(screen.top + 16), screen.left}},
        {"one pixel over the right", {100, SInt16(screen.right - w - 7)}, {SInt16(screen.top + 16), screen.left}},
    };
    for (const Case& c : cases) {
        other->DoSetPosition(c.otherAt);
        mWindow->PlaceWindowNextTo(other);
        const Rect placed = Bounds(*mWindow);
        EXPECT_EQ(placed.top, c.expected.v) << c.name;
        EXPECT_EQ(placed.left, c.expected.h) << c.name;
    }
    mWindow->PlaceWindowNextTo(nullptr);
    EXPECT_EQ(Bounds(*mWindow).top, screen.top + 16);
    EXPECT_EQ(Bounds(*mWindow).left, screen.left);

    other->DoSetPosition({200, 100});
    EXPECT_TRUE(mWindow->PlaceNextToPreviousWindow(3002));
    EXPECT_EQ(Bounds(*mWindow).top, 216);
    EXPECT_FALSE(mWindow->PlaceNextToPreviousWindow(4711)) << "no window with that pane ID";
    delete other;
    EXPECT_FALSE(mWindow->PlaceNextToPreviousWindow(0)) << "only itself is open";
}

TEST_F(CWindowTest, RestoreWindowPositionKeepsTheWindowOnTheScreen)
{
    const Rect screen = Screen(false);
    struct Case {
        const char* name;
        Point saved;
        Point expected;
    };
    const Case cases[] = {
        {"inside", {100, 120}, {100, 120}},
        {"far right", {100, 30000}, {100, SInt16(screen.right - 20)}},
        {"far below", {30000, 120}, {SInt16(screen.bottom - 20), 120}},
        {"above and left", {-500, -500}, {screen.top, screen.left}},
    };
    for (const Case& c : cases) {
        mWindow->RestoreWindowPosition(c.saved);
        EXPECT_EQ(Bounds(*mWindow).top, c.expected.v) << c.name;
        EXPECT_EQ(Bounds(*mWindow).left, c.expected.h) << c.name;
    }
}

TEST_F(CWindowTest, MoveWindowKeepsItOnTheScreenOnRequest)
{
    const Rect screen = Screen(false);
    const SInt16 w = Width(Bounds(*mWindow));
    const SInt16 h = Height(Bounds(*mWindow));
    mWindow->MoveWindow(30000, 30000, true);
    EXPECT_EQ(Bounds(*mWindow).left, screen.right - w);
    EXPECT_EQ(Bounds(*mWindow).top, screen.top + screen.bottom - h);
    mWindow->MoveWindow(-40, -40, true);
    EXPECT_EQ(Bounds(*mWindow).left, screen.left);
    EXPECT_EQ(Bounds(*mWindow).top, screen.top);
    mWindow->MoveWindow(-40, -30, false);
    EXPECT_EQ(Bounds(*mWindow).left, -40);
    EXPECT_EQ(Bounds(*mWindow).top, -30);
}

TEST_F(CWindowTest, PlaceWindowFlags)
{
    const Rect s = Screen(false);
    const SInt16 w = Width(Bounds(*mWindow));
    const SInt16 h = Height(Bounds(*mWindow));
    struct Case {
        SInt16 flags;
        Boolean inner;
        int top;
        int left;
    };
    const Case cases[] = {
        {CWindow::kPlaceTop | CWindow::kPlaceLeft, true, s.top, s.left},
        {CWindow::kPlaceTop | CWindow::kPlaceLeft, false, s.top + 24, s.left},
        {CWindow::kPlaceBottom | CWindow::kPlaceRight, true, s.bottom - h, s.right - w},
        {CWindow::kPlaceBottom | CWindow::kPlaceRight, false, s.bottom - h, s.right - w - 6},
        {CWindow::kPlaceCenterVertical | CWindow::kPlaceCenterHorizontal, true, (s.top + s.bottom - h) / 2,
         (s.left + s.right - w) / 2},
        {0x21, false, s.top + 24, (s.left + s.right - w) / 2}, // the welcome window's
        // Later steps win: the centre after the top.
        {CWindow::kPlaceTop | CWindow::kPlaceCenterVertical, false, (s.top + s.bottom - h) / 2, 7},
    };
    for (const Case& c : cases) {
        mWindow->DoSetPosition({3, 7});
        mWindow->PlaceWindow(c.flags, c.inner);
        EXPECT_EQ(Bounds(*mWindow).top, c.top) << "flags " << c.flags << (c.inner ? " inner" : "");
        EXPECT_EQ(Bounds(*mWindow).left, c.left) << "flags " << c.flags << (c.inner ? " inner" : "");
        EXPECT_EQ(Width(Bounds(*mWindow)), w);
        EXPECT_EQ(Height(Bounds(*mWindow)), h);
    }
}

// Counts the sizes a window takes.
class ResizeCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            ++mResizes;
        return false;
    }
    int mResizes = 0;
};

TEST_F(CWindowTest, SmoothResizeWindow)
{
    mWindow->Show();
    ResizeCounter counter;
    mWindow->GetWidget()->installEventFilter(&counter);
    const Rect before = Bounds(*mWindow);

    mWindow->SmoothResizeWindow(Height(before), true, false);
    EXPECT_EQ(counter.mResizes, 0) << "to the current height";

    mWindow->SmoothResizeWindow(SInt16(Height(before) + 100), true, false);
    EXPECT_EQ(Height(Bounds(*mWindow)), Height(before) + 100);
    EXPECT_EQ(Bounds(*mWindow).top, before.top) << "the top stays";
    EXPECT_EQ(counter.mResizes, 6) << "five steps of 17, then the rest";

    counter.mResizes = 0;
    mWindow->SmoothResizeWindow(Height(before), false, false);
    EXPECT_EQ(Height(Bounds(*mWindow)), Height(before));
    EXPECT_EQ(counter.mResizes, 1) << "at once without animation";

    mWindow->SmoothResizeWindow(30000, false, true);
    EXPECT_EQ(Height(Bounds(*mWindow)), Height(Screen(false)) + 15) << "clamped to the screen";
    mWindow->GetWidget()->removeEventFilter(&counter);
}

TEST_F(CWindowTest, SmoothResizeStepsBySystemVersion)
{
    mWindow->Show();
    const Rect before = Bounds(*mWindow);
    struct Case {
        long version;
        int resizes; // growing by 100
    };
    const Case cases[] = {
        {0x0922, 10}, // nine steps of 10, then the rest
        {0x0FFF, 10},
        {0x1000, 6}, // five steps of 17, then the rest
        {0x1049, 6},
    };
    for (const Case& c : cases) {
        SetSystemVersionForTesting(c.version);
        mWindow->SmoothResizeWindow(Height(before), false, false);
        ResizeCounter counter;
        mWindow->GetWidget()->installEventFilter(&counter);
        mWindow->SmoothResizeWindow(SInt16(Height(before) + 100), true, false);
        mWindow->GetWidget()->removeEventFilter(&counter);
        EXPECT_EQ(counter.mResizes, c.resizes) << std::hex << "version " << c.version;
        EXPECT_EQ(Height(Bounds(*mWindow)), Height(before) + 100) << std::hex << "version " << c.version;
    }
    SetSystemVersionForTesting(0);
}

// Answers a standard dialog once it is up: reads its text pane and presses a button.
class DialogAnswerer {
public:
    explicit DialogAnswerer(PaneIDT button) : mButton(button)
    {
        QTimer::singleShot(0, [this] { Answer(); });
    }

    std::string mText;

private:
    void Answer()
    {
        LWindow* dialog = UDesktop::FetchTopRegular();
        auto* button = dialog ? dynamic_cast<LStdButton*>(dialog->FindPaneByID(mButton)) : nullptr;
        if (button == nullptr) {
            QTimer::singleShot(10, [this] { Answer(); });
            return;
        }
        SaveForInspection(dialog->GetWidget()->grab().toImage(), "standard-dialog-24900");
        mText = PaneText(*dialog, 3);
        button->SimulateHotSpotClick();
    }

    PaneIDT mButton;
};

TEST(CWindowStandardDialog, FillsTheGivenParametersAndAnswersItsButtons)
{
    RegisterWindowClass();
    StResourceFolder resources(PackageResources());
    struct Case {
        const char* name;
        const char* p0; // null: not given
        const char* p1;
        PaneIDT button;
        Boolean answer;
        const char* text;
    };
    const Case cases[] = {
        {"both", "Manual", "Help", 1, true, "The help file \xD2Manual\xD3 was not found in the folder \xD2Help\xD3."},
        {"p1 only", nullptr, "Help", 2, false, "The help file \xD2^0\xD3 was not found in the folder \xD2Help\xD3."},
        // A name holding a placeholder of its own stays as it is.
        {"p0 holds ^1", "a^1b", "Help", 1, true,
         "The help file \xD2" "a^1b\xD3 was not found in the folder \xD2Help\xD3."},
    };
    for (const Case& c : cases) {
        PStr p0(c.p0 ? c.p0 : ""), p1(c.p1 ? c.p1 : "");
        DialogAnswerer answerer(c.button);
        EXPECT_EQ(CWindow::DoStandardDialog(24900, nullptr, c.p0 ? StringPtr(p0) : nullptr,
                                            c.p1 ? StringPtr(p1) : nullptr),
                  c.answer)
            << c.name;
        EXPECT_EQ(answerer.mText.substr(0, answerer.mText.find('\n')), c.text) << c.name;
    }
}

TEST(CWindowStandardDialog, MissingDialogShowsNothingAndAnswersFalse)
{
    RegisterWindowClass();
    StResourceFolder resources(PackageResources());
    const std::size_t open = UDesktop::GetWindowList().size();
    EXPECT_FALSE(CWindow::DoStandardDialog(4711, nullptr, PStr("x")));
    EXPECT_EQ(UDesktop::GetWindowList().size(), open);
}

} // namespace
