#include <gtest/gtest.h>

#include <QComboBox>
#include <QProgressBar>

#include <cstring>
#include <string>

#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/LProgressBar.h"
#include "framework/LStdButton.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using namespace frameworktest;

using ControlsTest = WindowTest;

std::string Text(const unsigned char* pascal)
{
    return std::string(reinterpret_cast<const char*>(pascal + 1), pascal[0]);
}

TEST_F(ControlsTest, PopupMenuCountsItemsFromOneAndIgnoresItemsThatDoNotExist)
{
    auto* popup = Find<LPopupButton>(6);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetValue(), 1);
    EXPECT_EQ(popup->GetMaxValue(), 3);
    for (SInt32 missing : {0, 4, -1}) {
        popup->SetValue(missing);
        EXPECT_EQ(popup->GetValue(), 1) << "item " << missing;
    }
    popup->DeleteAllMenuItems();
    EXPECT_EQ(popup->GetValue(), 0) << "no item is current in an empty menu";
    Str255 text;
    popup->GetDescriptor(text);
    EXPECT_EQ(Text(text), "");

    const unsigned char disk[] = "\x04" "Disk";
    const unsigned char cafe[] = "\x04" "Caf\x8E"; // Mac Roman é
    popup->AppendMenu(disk);
    popup->AppendMenu(cafe);
    popup->SetCurrentMenuItem(2);
    popup->GetDescriptor(text);
    EXPECT_EQ(Text(text), "Caf\x8E");
    popup->DisableItem(1);
    EXPECT_FALSE(popup->IsItemEnabled(1));
    EXPECT_TRUE(popup->IsItemEnabled(2));
    EXPECT_FALSE(popup->IsItemEnabled(3));
}

TEST_F(ControlsTest, CheckBoxesAndRadioButtonsBroadcastOnlyWhenTheirValueChanges)
{
    RecordingListener listener;
    auto* check = Find<LStdButton>(2);
    check->AddListener(&listener);
    check->SetValue(1);
    check->SetValue(1);
    check->SetValue(0);
    ASSERT_EQ(listener.mReceived.size(), 2u);
    EXPECT_EQ(listener.mReceived[0].value, 1);
    EXPECT_EQ(listener.mReceived[1].value, 0);
}

TEST_F(ControlsTest, RadioButtonsExcludeEachOtherYetCanAllBeTurnedOff)
{
    auto* one = Find<LStdButton>(3);
    auto* two = Find<LStdButton>(4);
    one->SetValue(1);
    two->SetValue(1);
    EXPECT_EQ(one->GetValue(), 0);
    EXPECT_EQ(two->GetValue(), 1);
    two->SetValue(0);
    EXPECT_EQ(two->GetValue(), 0);
    EXPECT_EQ(one->GetValue(), 0);
    one->SetValue(1);
    EXPECT_EQ(two->GetValue(), 0) << "they exclude each other again";
}

TEST_F(ControlsTest, PushButtonWithMessageZeroBroadcastsNothing)
{
    RecordingListener listener;
    auto* ok = Find<LStdButton>(10);
    ok->AddListener(&listener);
    ok->SetValueMessage(msg_Nothing);
    ok->SimulateHotSpotClick();
    EXPECT_TRUE(listener.mReceived.empty());
    ok->Disable();
    ok->SetValueMessage(msg_OK);
    ok->SimulateHotSpotClick();
    EXPECT_TRUE(listener.mReceived.empty()) << "a disabled button was pressed";
}

TEST_F(ControlsTest, EditTextReadsItsLeadingNumber)
{
    auto* field = Find<LEditText>(7);
    struct Case {
        const char* text;
        SInt32 value;
    };
    const Case cases[] = {{"-42 apples", -42}, {"  17", 17}, {"+5", 5}, {"none", 0}, {"", 0}, {"99999999999", 2147483647}};
    for (const Case& c : cases) {
        Str255 text;
        text[0] = UInt8(std::strlen(c.text));
        std::memcpy(text + 1, c.text, text[0]);
        field->SetDescriptor(text);
        EXPECT_EQ(field->GetValue(), c.value) << '"' << c.text << '"';
    }
    field->SetValue(-7);
    Str255 text;
    field->GetDescriptor(text);
    EXPECT_EQ(Text(text), "-7");
}

TEST_F(ControlsTest, ProgressBarIsDeterminateOnlyWithARange)
{
    auto* pane = Find<LProgressBar>(8);
    auto* bar = qobject_cast<QProgressBar*>(pane->GetWidget());
    pane->SetIndeterminateFlag(false);
    pane->SetMaxValue(200);
    pane->SetValue(50);
    EXPECT_EQ(bar->maximum(), 200);
    EXPECT_EQ(bar->value(), 50);
    pane->SetValue(500);
    EXPECT_EQ(bar->value(), 200) << "kept within the range";
    pane->SetIndeterminateFlag(true);
    EXPECT_EQ(bar->maximum(), 0) << "Qt's busy bar";
    pane->SetIndeterminateFlag(false);
    pane->SetMaxValue(0);
    EXPECT_EQ(bar->maximum(), 0) << "nothing to count";
}

TEST_F(ControlsTest, HidingDisablingAndDescriptorsOfPanes)
{
    LPane* caption = mWindow->FindPaneByID(1);
    caption->Hide();
    EXPECT_FALSE(caption->IsVisible());
    caption->Show();
    EXPECT_TRUE(caption->IsVisible());
    caption->Disable();
    EXPECT_FALSE(caption->IsEnabled());

    // Mac Roman both ways, and what Mac Roman lacks.
    const unsigned char roman[] = "\x06" "\x8A" "bc \xD2\xD3";
    caption->SetDescriptor(roman);
    EXPECT_EQ(caption->GetWidget()->property("text").toString(), QString::fromUtf8("äbc “”"));
    Str255 back;
    caption->GetDescriptor(back);
    EXPECT_EQ(Text(back), Text(roman));
    caption->GetWidget()->setProperty("text", QString::fromUtf8("A\u0308 \u4E2D"));
    caption->GetDescriptor(back);
    EXPECT_EQ(Text(back), "\x80 ?") << "decomposed Ä composed; a character Mac Roman lacks as ?";
    caption->GetWidget()->setProperty("text", QString(300, QLatin1Char('x')));
    caption->GetDescriptor(back);
    EXPECT_EQ(back[0], 255) << "cut to 255 bytes";
}

} // namespace
