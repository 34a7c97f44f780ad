#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/DateTimeUtils.h"
#include "toolkit/CComparator.h"
#include "toolkit/CListObject.h"
#include "toolkit/CSmartIndex.h"

namespace {

// Orders values by value / divisor, so that values with the same quotient tie.
class QuotientComparator : public CComparator {
public:
    explicit QuotientComparator(long divisor) : mDivisor(divisor) {}
    SInt32 Compare(long a, long b) override
    {
        if (sTicking)
            SetTickCountForTesting(++sTicks);
        return SInt32(a / mDivisor - b / mDivisor);
    }

    // Each comparison moves the fake tick count on by one.
    static inline bool sTicking = false;
    static inline UInt32 sTicks = 0;

private:
    long mDivisor;
};

std::vector<long> Values(CListObject& list)
{
    std::vector<long> values;
    for (long i = 1; i <= list.GetCount(); ++i)
        values.push_back(list.GetNthItem(i));
    return values;
}

CListObject* ListOf(const std::vector<long>& values, CComparator* comparator = nullptr)
{
    auto* list = new CListObject(comparator);
    for (long v : values)
        list->InsertItem(list->GetCount() + 1, v);
    return list;
}

TEST(CListObject, SortIsAStableSortForAnyLength)
{
    std::mt19937 random(7);
    for (long divisor : {1L, 100L, 1000000L}) {
        for (long length : {2L, 3L, 5L, 31L, 32L, 33L, 64L, 100L, 1000L, 2500L}) {
            std::vector<long> values;
            for (long i = 0; i < length; ++i)
                values.push_back(long(random() % 1000));
            std::unique_ptr<CListObject> list(ListOf(values, new QuotientComparator(divisor)));
            std::stable_sort(values.begin(), values.end(),
                             [&](long a, long b) { return a / divisor < b / divisor; });
            EXPECT_EQ(list->SortList(false, 0, false), 0);
            EXPECT_EQ(Values(*list), values) << "length " << length << " divisor " << divisor;
        }
    }
}

TEST(CListObject, SortOfADescendingListIsAscending)
{
    std::vector<long> values;
    for (long v = 500; v > 0; --v)
        values.push_back(v);
    std::unique_ptr<CListObject> list(ListOf(values, new QuotientComparator(1)));
    list->SortList(false, 0, false);
    std::reverse(values.begin(), values.end());
    EXPECT_EQ(Values(*list), values);
}

TEST(CListObject, ReverseComparatorSortsDescending)
{
    auto* comparator = new QuotientComparator(1);
    comparator->SetReverse(true);
    std::unique_ptr<CListObject> list(ListOf({3, 1, 2}, comparator));
    list->SortList(false, 0, false);
    EXPECT_EQ(Values(*list), (std::vector<long>{3, 2, 1}));
    EXPECT_EQ(list->AddItemToList(5), 1);
}

TEST(CListObject, KeepValuePlacesOnlyThatValue)
{
    struct Case {
        std::vector<long> values;
        long keep;
        long position;
        std::vector<long> sorted;
    } cases[] = {
        {{10, 20, 30, 40}, 20, 2, {10, 20, 30, 40}}, // already in order: nothing moves
        {{10, 35, 20, 30}, 35, 4, {10, 20, 30, 35}},
        {{10, 20, 5, 30}, 5, 1, {5, 10, 20, 30}},
        {{10, 20, 30, 5}, 5, 1, {5, 10, 20, 30}},
        {{10, 20, 30, 5}, 99, 0, {5, 10, 20, 30}}, // not in the list: a whole sort
    };
    for (const Case& c : cases) {
        std::unique_ptr<CListObject> list(ListOf(c.values, new QuotientComparator(1)));
        EXPECT_EQ(list->SortList(false, c.keep, false), c.position) << "keep " << c.keep;
        EXPECT_EQ(Values(*list), c.sorted) << "keep " << c.keep;
    }
}

// The window toolkit's side of a long sort, as the hooks see it.
struct FeedbackLog {
    int cursorOn = 0;
    int cursorOff = 0;
    int dialogs = 0;
    std::vector<long> reported;
    bool stop = false;
    bool canStop = false;
};
FeedbackLog gLog;

class LoggedProgress : public CSortProgress {
public:
    Boolean WantToStop(long done, long) override
    {
        gLog.reported.push_back(done);
        return gLog.stop;
    }
};

class SortFeedback : public testing::Test {
protected:
    void SetUp() override
    {
        gLog = {};
        QuotientComparator::sTicking = true;
        QuotientComparator::sTicks = 1000;
        SetTickCountForTesting(QuotientComparator::sTicks);
        CListObject::sBusyCursorHook = [](Boolean busy) { ++(busy ? gLog.cursorOn : gLog.cursorOff); };
        CListObject::sSortProgressHook = [](Boolean canStop) -> std::unique_ptr<CSortProgress> {
            ++gLog.dialogs;
            gLog.canStop = canStop;
            return std::make_unique<LoggedProgress>();
        };
    }
    void TearDown() override
    {
        QuotientComparator::sTicking = false;
        SetTickCountForTesting(std::nullopt);
        CListObject::sBusyCursorHook = nullptr;
        CListObject::sSortProgressHook = nullptr;
    }

    std::unique_ptr<CListObject> Descending(long count)
    {
        std::vector<long> values;
        for (long v = count; v > 0; --v)
            values.push_back(v);
        return std::unique_ptr<CListObject>(ListOf(values, new QuotientComparator(1)));
    }
};

TEST_F(SortFeedback, DialogAppearsAfterTheDelayAndReportsProgress)
{
    std::unique_ptr<CListObject> list = Descending(400);
    list->SortList(true, 0, true);
    EXPECT_EQ(gLog.cursorOn, 1);
    EXPECT_EQ(gLog.cursorOff, 1);
    EXPECT_EQ(gLog.dialogs, 1);
    EXPECT_TRUE(gLog.canStop);
    ASSERT_FALSE(gLog.reported.empty());
    for (long done : gLog.reported)
        EXPECT_EQ(done % 32, 0);
    EXPECT_TRUE(std::is_sorted(gLog.reported.begin(), gLog.reported.end()));
    EXPECT_EQ(list->GetNthItem(1), 1);
    EXPECT_EQ(list->GetNthItem(400), 400);
}

TEST_F(SortFeedback, StopEndsTheSortOnlyWhenItMay)
{
    gLog.stop = true;
    std::unique_ptr<CListObject> stoppable = Descending(400);
    stoppable->SortList(true, 0, true);
    EXPECT_EQ(gLog.reported.size(), 1u);
    EXPECT_NE(stoppable->GetNthItem(400), 400) << "the sort stopped early";
    EXPECT_EQ(gLog.cursorOff, 1) << "the cursor is restored on the way out";

    gLog.reported.clear();
    std::unique_ptr<CListObject> unstoppable = Descending(400);
    unstoppable->SortList(false, 0, true);
    EXPECT_GT(gLog.reported.size(), 1u);
    EXPECT_EQ(unstoppable->GetNthItem(400), 400);
}

TEST_F(SortFeedback, NoDialogWithoutProgressOrHook)
{
    Descending(400)->SortList(true, 0, false);
    EXPECT_EQ(gLog.dialogs, 0);
    CListObject::sSortProgressHook = nullptr;
    std::unique_ptr<CListObject> list = Descending(400);
    list->SortList(true, 0, true);
    EXPECT_EQ(list->GetNthItem(400), 400);
}

TEST(CListObject, ValueOperations)
{
    std::unique_ptr<CListObject> list(ListOf({1, 2, 3, 4, 5}));
    list->InsertItem(0, 9);
    list->InsertItem(8, 7); // past count + 1: nothing
    EXPECT_EQ(Values(*list), (std::vector<long>{9, 1, 2, 3, 4, 5}));
    list->MoveItemToIndex(1, 6);
    EXPECT_EQ(Values(*list), (std::vector<long>{1, 2, 3, 4, 5, 9}));
    list->MoveItemToIndex(5, 2);
    EXPECT_EQ(Values(*list), (std::vector<long>{1, 5, 2, 3, 4, 9}));
    list->RemoveItems(5, 10);
    EXPECT_EQ(Values(*list), (std::vector<long>{1, 5, 2, 3}));
    list->RemoveItems(0, 2);
    list->RemoveNthItem(9);
    EXPECT_EQ(list->GetCount(), 4);
    list->RemoveNthItem(2);
    EXPECT_EQ(Values(*list), (std::vector<long>{1, 2, 3}));
    list->SetNthItem(5, 8);
    EXPECT_EQ(Values(*list), (std::vector<long>{1, 2, 3, 8, 8}));
    EXPECT_EQ(list->FindItemInList(8), 4);
    EXPECT_EQ(list->FindItemInList(6), 0);
    EXPECT_EQ(list->GetNthItem(0), 0);
    EXPECT_EQ(list->GetNthItem(6), 0);
    EXPECT_EQ(list->AddItemToList(4), 6) << "without comparator a value is appended";
    list->RemoveAllItems();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_TRUE(list->HasChanged());
}

// Values taken from the front are only skipped until they outnumber the rest; every
// other operation, and a copy or the bytes of the list, must see the live values alone.
TEST(CListObject, ValuesTakenFromTheFrontLeaveTheRestIntact)
{
    std::mt19937 random(11);
    std::unique_ptr<CListObject> list(ListOf({}, new QuotientComparator(10)));
    std::vector<long> model;
    for (int step = 0; step < 3000; ++step) {
        const long count = long(model.size());
        const long value = long(random() % 1000);
        const int operation = int(random() % 10);
        if (operation < 3 || count < 2) {
            const long position = list->AddItemToList(value);
            model.insert(model.begin() + (position - 1), value);
        } else if (operation < 7) {
            const long n = 1 + long(random() % 3);
            list->RemoveItems(1, n);
            model.erase(model.begin(), model.begin() + std::min(n, count));
        } else if (operation == 7) {
            const long index = 1 + long(random() % std::size_t(count + 1));
            list->InsertItem(index, value);
            model.insert(model.begin() + (index - 1), value);
        } else if (operation == 8) {
            const long from = 1 + long(random() % std::size_t(count));
            const long to = 1 + long(random() % std::size_t(count));
            list->MoveItemToIndex(from, to);
            const long moved = model[std::size_t(from - 1)];
            model.erase(model.begin() + (from - 1));
            model.insert(model.begin() + (to - 1), moved);
        } else {
            const long index = 1 + long(random() % std::size_t(count));
            list->SetNthItem(index, value);
            model[std::size_t(index - 1)] = value;
        }
        ASSERT_EQ(Values(*list), model) << "step " << step;
        if (step % 100 == 0) {
            EXPECT_EQ(Values(*list->GetCopy()), model) << "step " << step;
            std::vector<UInt8> bytes;
            list->WriteToBytes(bytes, false);
            CListObject read;
            ASSERT_TRUE(read.ReadFromBytes(bytes, false).ok) << "step " << step;
            EXPECT_EQ(Values(read), model) << "step " << step;
        }
    }
}

TEST(CListObject, SortedInsertionPosition)
{
    std::unique_ptr<CListObject> list(ListOf({}, new QuotientComparator(10)));
    EXPECT_EQ(list->AddItemToList(25), 1);
    EXPECT_EQ(list->AddItemToList(5), 1);
    EXPECT_EQ(list->AddItemToList(45), 3);
    EXPECT_EQ(list->AddItemToList(21), 2) << "before the equal value 25";
    EXPECT_EQ(Values(*list), (std::vector<long>{5, 21, 25, 45}));
    EXPECT_EQ(list->FindInsertedPosition(100), 5);
}

TEST(CListObject, ValueListBytes)
{
    std::unique_ptr<CListObject> list(ListOf({1, -2}));
    std::vector<UInt8> bytes;
    EXPECT_EQ(list->WriteToBytes(bytes, true), 12);
    EXPECT_EQ(bytes, (std::vector<UInt8>{0, 0, 0, 8, 0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFE}));

    CListObject read;
    ListReadResult result = read.ReadFromBytes(bytes, false);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.consumed, 12u);
    EXPECT_EQ(Values(read), (std::vector<long>{1, -2}));
    EXPECT_TRUE(read.AddFromBytes(bytes, false).ok);
    EXPECT_EQ(Values(read), (std::vector<long>{1, -2, 1, -2}));

    const std::vector<UInt8> empty{0, 0, 0, 0};
    EXPECT_FALSE(read.AddFromBytes(empty, false).ok) << "appending wants a positive length";
    EXPECT_TRUE(read.ReadFromBytes(empty, false).ok);
    EXPECT_EQ(read.GetCount(), 0);

    const std::vector<UInt8> odd{0, 0, 0, 6, 0, 0, 0, 1, 0, 0};
    EXPECT_FALSE(read.ReadFromBytes(odd, false).ok);
    const std::vector<UInt8> truncated{0, 0, 0, 12, 0, 0, 0, 7, 0, 0};
    EXPECT_FALSE(read.ReadFromBytes(truncated, false).ok);
    EXPECT_EQ(Values(read), (std::vector<long>{7})) << "what was read is kept";
}

TEST(CListObject, CopyHoldsTheValuesWithoutComparator)
{
    std::unique_ptr<CListObject> list(ListOf({4, 5, 6}, new QuotientComparator(1)));
    std::unique_ptr<CListObject> copy = list->GetCopy();
    EXPECT_EQ(Values(*copy), (std::vector<long>{4, 5, 6}));
    EXPECT_EQ(copy->GetComparator(), nullptr);
    CListObject into;
    into.InsertItem(1, 99);
    EXPECT_TRUE(list->GetCopy(into));
    EXPECT_EQ(Values(into), (std::vector<long>{4, 5, 6}));
}

TEST(CSmartIndex, SearchBounds)
{
    CSmartIndex empty(1, 0);
    EXPECT_TRUE(empty.Finished());
    EXPECT_EQ(empty.GetIndex(), 0);

    CSmartIndex search(1, 10);
    EXPECT_EQ(search.GetIndex(), 5);
    search.SetResult(true);
    EXPECT_EQ(search.GetIndex(), 8);
    search.SetResult(false);
    EXPECT_EQ(search.GetIndex(), 6);
    EXPECT_FALSE(search.Finished());
    search.SetResult(false);
    EXPECT_TRUE(search.Finished());
}

} // namespace
