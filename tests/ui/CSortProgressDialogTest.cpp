#include <gtest/gtest.h>

#include "framework/LStdButton.h"
#include "framework/LWindow.h"
#include "platform/DateTimeUtils.h"
#include "tests/ui/UiTestSupport.h"
#include "toolkit/CComparator.h"
#include "toolkit/CListObject.h"
#include "ui/CSortProgressDialog.h"

namespace {

using namespace uitest;

UInt32 sTicks = 0;

// Orders values by number; every comparison takes a tick, so a long sort comes to show
// its progress.
class SlowComparator : public CComparator {
public:
    SInt32 Compare(long a, long b) override
    {
        SetTickCountForTesting(++sTicks);
        return a < b ? -1 : a > b ? 1 : 0;
    }
};

// The sort's hook, recording the dialog it makes and pressing its stop button when asked.
struct Recorded {
    int dialogs = 0;
    Boolean stopEnabled = false;
    Boolean pressStop = false;
};
Recorded sRecorded;

std::unique_ptr<CSortProgress> RecordingHook(Boolean canStop)
{
    auto progress = std::make_unique<CSortProgressDialog>(canStop);
    LWindow* dialog = progress->GetProgressDialog().GetDialog();
    ++sRecorded.dialogs;
    sRecorded.stopEnabled = dialog->FindPaneByID(2)->IsEnabled();
    if (sRecorded.pressStop)
        dynamic_cast<LStdButton*>(dialog->FindPaneByID(2))->SimulateHotSpotClick();
    return progress;
}

Boolean IsSorted(CListObject& list)
{
    for (long i = 1; i < list.GetCount(); ++i) {
        if (list.GetNthItem(i) > list.GetNthItem(i + 1))
            return false;
    }
    return true;
}

TEST(CSortProgressDialog, LongSortShowsProgressAndStopsWhenItMay)
{
    RegisterWindowClass();
    StResourceFolder resources(PackageResources());
    CListObject::sSortProgressHook = RecordingHook;
    SetTickCountForTesting(sTicks);
    struct Case {
        const char* name;
        Boolean canStop;
        Boolean showProgress;
        Boolean pressStop;
        int dialogs;
        Boolean stopEnabled;
        Boolean sorted;
    };
    const Case cases[] = {
        {"stopped", true, true, true, 1, true, false},
        {"may not stop", false, true, true, 1, false, true},
        {"runs to its end", true, true, false, 1, true, true},
        {"no progress asked for", true, false, true, 0, false, true},
    };
    for (const Case& c : cases) {
        sRecorded = {};
        sRecorded.pressStop = c.pressStop;
        CListObject list; // without a comparator the values stay in the order added
        for (long value = 2000; value >= 1; --value)
            list.AddItemToList(value);
        list.SetComparator(new SlowComparator);
        list.SortList(c.canStop, 0, c.showProgress);
        EXPECT_EQ(sRecorded.dialogs, c.dialogs) << c.name << ": one dialog, made once";
        EXPECT_EQ(sRecorded.stopEnabled, c.stopEnabled) << c.name;
        EXPECT_EQ(IsSorted(list), c.sorted) << c.name;
        EXPECT_EQ(list.GetCount(), 2000) << c.name;
    }
    CListObject::sSortProgressHook = nullptr;
    SetTickCountForTesting(std::nullopt);
}

} // namespace
