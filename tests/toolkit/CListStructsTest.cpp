#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/LException.h"
#include "platform/MacMemory.h"
#include "tests/toolkit/ListModel.h"
#include "toolkit/CListStructs.h"

namespace {

std::string Data(CListStructs& list, long index)
{
    std::string data(std::size_t(list.GetNthStructLength(index)), '\0');
    EXPECT_EQ(list.GetNthStruct(index, data.data(), 0), long(data.size()));
    return data;
}

std::vector<std::string> Contents(CListStructs& list)
{
    std::vector<std::string> contents;
    for (long i = 1; i <= list.GetCount(); ++i)
        contents.push_back(Data(list, i));
    return contents;
}

long AreaLength(CListStructs& list)
{
    std::vector<UInt8> bytes;
    list.WriteToBytes(bytes, false);
    return long(GetBigEndian32(bytes.data()));
}

// Every record lies in the buffer, none overlaps another, and no byte is left over.
void ExpectSoundLayout(CListStructs& list, const std::string& where)
{
    const long area = AreaLength(list);
    std::map<long, long> records;
    long total = 0;
    for (long i = 1; i <= list.GetCount(); ++i) {
        const long offset = list.GetNthItem(i);
        const long length = list.GetLengthInBuffer(i);
        ASSERT_GE(offset, 0) << where;
        ASSERT_GT(length, 0) << where;
        ASSERT_LE(offset + length, area) << where;
        ASSERT_TRUE(records.emplace(offset, offset + length).second) << where << ": two records at " << offset;
        total += length;
    }
    long end = 0;
    for (const auto& [start, stop] : records) {
        ASSERT_GE(start, end) << where << ": records overlap";
        end = stop;
    }
    EXPECT_EQ(total, area) << where << ": bytes that belong to no record";
}

const SInt16 kModes[] = {CListStructs::kPrefix32,    CListStructs::kPrefix16,    CListStructs::kFixedSize,
                         CListStructs::kOwnLength32, CListStructs::kOwnLength16, CListStructs::kOwnLength8};

long SizeFor(SInt16 mode)
{
    return mode == CListStructs::kFixedSize ? kFixedRecordSize : 16;
}

// Random adds, inserts, sets, removals and sorts against a vector of records.
void RunModel(SInt16 mode, bool withComparator, unsigned seed)
{
    std::mt19937 random(seed);
    auto* comparator = withComparator ? new KeyComparator(KeyOffset(mode)) : nullptr;
    CListStructs list(comparator, mode, SizeFor(mode));
    std::vector<std::string> model;
    bool sorted = true;
    const auto key = [&](const std::string& data) { return UInt8(data[std::size_t(KeyOffset(mode))]) % 5; };
    const auto stableSort = [&] {
        std::stable_sort(model.begin(), model.end(),
                         [&](const std::string& a, const std::string& b) { return key(a) < key(b); });
    };

    for (int step = 0; step < 1500; ++step) {
        const std::string where = "mode " + std::to_string(mode) + (withComparator ? " sorted" : "") + " step " +
                                  std::to_string(step);
        const long count = list.GetCount();
        const std::string record = MakeRecord(mode, random);
        const long length = long(record.size());
        const int operation = int(random() % 100);
        if (operation < 35 || count < 3) {
            const long position = list.AddStructToList(record.data(), length);
            ASSERT_GE(position, 1) << where;
            ASSERT_LE(position, count + 1) << where;
            if (withComparator && sorted) {
                if (position > 1) {
                    ASSERT_LE(key(model[std::size_t(position - 2)]), key(record)) << where;
                }
                if (position <= count) {
                    ASSERT_LE(key(record), key(model[std::size_t(position - 1)])) << where;
                }
            }
            if (!withComparator) {
                ASSERT_EQ(position, count + 1) << where;
            }
            model.insert(model.begin() + (position - 1), record);
        } else if (operation < 50 && !withComparator) {
            const long index = long(random() % std::size_t(count + 3)) - 1;
            list.InsertStruct(index, record.data(), length);
            const long at = index <= 0 ? 1 : index > count ? count + 1 : index;
            model.insert(model.begin() + (at - 1), record);
        } else if (operation < 60) {
            const long index = 1 + long(random() % std::size_t(withComparator ? count : count + 1));
            list.SetNthStruct(index, record.data(), length);
            if (index > count)
                model.push_back(record);
            else
                model[std::size_t(index - 1)] = record;
            sorted = false;
        } else if (operation < 75) {
            const long index = long(random() % std::size_t(count + 2));
            list.RemoveNthItem(index);
            if (index >= 1 && index <= count)
                model.erase(model.begin() + (index - 1));
        } else if (operation < 85) {
            const long first = long(random() % std::size_t(count + 1));
            const long n = long(random() % 6);
            list.RemoveItems(first, n);
            if (first >= 1 && n > 0) {
                const long last = std::min(count, first + n - 1);
                model.erase(model.begin() + (first - 1), model.begin() + last);
            }
        } else if (operation < 92 && withComparator) {
            EXPECT_EQ(list.SortList(false, 0, false), 0) << where;
            stableSort();
            sorted = true;
        } else if (withComparator && sorted) {
            // One record changes its key; sorting with it as keepValue places only it.
            const long index = 1 + long(random() % std::size_t(count));
            std::string changed = model[std::size_t(index - 1)];
            changed[std::size_t(KeyOffset(mode))] = record[std::size_t(KeyOffset(mode))];
            list.SetNthStruct(index, changed.data(), long(changed.size()));
            const long value = list.GetNthItem(index);
            if (value == 0) {
                // The record at offset 0 cannot be named: the whole list is sorted.
                model[std::size_t(index - 1)] = changed;
                stableSort();
                EXPECT_EQ(list.SortList(false, value, false), 0) << where;
                ASSERT_EQ(Contents(list), model) << where;
                continue;
            }
            model.erase(model.begin() + (index - 1));
            const bool inOrder = (index == 1 || key(model[std::size_t(index - 2)]) <= key(changed)) &&
                                 (index > long(model.size()) || key(changed) <= key(model[std::size_t(index - 1)]));
            const auto place = inOrder ? model.begin() + (index - 1)
                                       : std::upper_bound(model.begin(), model.end(), changed,
                                                          [&](const std::string& a, const std::string& b) {
                                                              return key(a) < key(b);
                                                          });
            const long expected = long(place - model.begin()) + 1;
            model.insert(place, changed);
            EXPECT_EQ(list.SortList(false, value, false), expected) << where;
        } else {
            list.RemoveAllItems();
            model.clear();
        }
        ASSERT_EQ(Contents(list), model) << where;
        ExpectSoundLayout(list, where);
        if (step % 50 == 0) {
            std::vector<UInt8> bytes;
            list.WriteToBytes(bytes, true);
            CListStructs copy(nullptr, mode, SizeFor(mode));
            const ListReadResult result = copy.ReadFromBytes(bytes, true);
            ASSERT_TRUE(result.ok) << where;
            ASSERT_EQ(result.consumed, bytes.size()) << where;
            ASSERT_EQ(Contents(copy), model) << where;
        }
    }
}

TEST(CListStructsModel, KeepsRecordsAndLayoutInEveryLengthMode)
{
    for (SInt16 mode : kModes)
        for (bool withComparator : {false, true})
            for (unsigned seed : {1u, 2u, 3u})
                RunModel(mode, withComparator, seed + 10 * unsigned(mode));
}

// The action run's pattern: read record 1, remove it, and add the records found
// meanwhile. The records left, their layout and the list written as a file must not
// show the removed ones.
TEST(CListStructs, ConsumedFromTheFrontWhileRecordsAreAdded)
{
    for (SInt16 mode : kModes) {
        std::mt19937 random(5 + unsigned(mode));
        CListStructs list(new KeyComparator(KeyOffset(mode)), mode, SizeFor(mode));
        std::vector<std::string> model;
        const auto key = [&](const std::string& data) { return UInt8(data[std::size_t(KeyOffset(mode))]) % 5; };
        const auto add = [&] {
            const std::string record = MakeRecord(mode, random);
            const long position = list.AddStructToList(record.data(), long(record.size()));
            ASSERT_GE(position, 1);
            model.insert(model.begin() + (position - 1), record);
        };
        for (int i = 0; i < 300; ++i)
            add();
        for (int step = 0; !model.empty(); ++step) {
            const std::string where = "mode " + std::to_string(mode) + " step " + std::to_string(step);
            ASSERT_EQ(Data(list, 1), model.front()) << where;
            list.RemoveNthStruct(1);
            model.erase(model.begin());
            if (step % 3 == 0 && step < 600)
                add();
            ASSERT_EQ(list.GetCount(), long(model.size())) << where;
            if (step % 37 == 0) {
                ASSERT_EQ(Contents(list), model) << where;
                for (std::size_t i = 1; i < model.size(); ++i)
                    ASSERT_LE(key(model[i - 1]), key(model[i])) << where;
                for (const Boolean withIndex : {true, false}) {
                    std::vector<UInt8> bytes;
                    list.WriteToBytes(bytes, withIndex);
                    CListStructs read(nullptr, mode, SizeFor(mode));
                    ASSERT_TRUE(read.ReadFromBytes(bytes, withIndex).ok) << where;
                    // Without the index the records come in the buffer's order.
                    std::vector<std::string> records = Contents(read), expected = model;
                    if (!withIndex) {
                        std::sort(records.begin(), records.end());
                        std::sort(expected.begin(), expected.end());
                    }
                    ASSERT_EQ(records, expected) << where << (withIndex ? " with index" : " without index");
                }
                ExpectSoundLayout(list, where);
            }
        }
        EXPECT_EQ(AreaLength(list), 0) << "mode " << mode;
    }
}

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string text;
    for (int b : bytes)
        text.push_back(char(b));
    return text;
}

TEST(CListStructs, SortedAddGoesBeforeAnEqualRecord)
{
    CListStructs list(new KeyComparator(1), CListStructs::kOwnLength8, 260);
    const std::string a = Bytes({3, 1, 'a'}), b = Bytes({3, 1, 'b'}), c = Bytes({3, 0, 'c'});
    EXPECT_EQ(list.AddStructToList(a.data(), 0), 1);
    EXPECT_EQ(list.AddStructToList(b.data(), 0), 1);
    EXPECT_EQ(list.AddStructToList(c.data(), 0), 1);
    EXPECT_EQ(Contents(list), (std::vector<std::string>{c, b, a}));
    EXPECT_TRUE(list.HasChanged());
}

TEST(CListStructs, SortOfFewerThanTwoRecordsComparesNothing)
{
    for (int records = 0; records < 2; ++records) {
        CListStructs list(new KeyComparator(0), CListStructs::kPrefix32, 0);
        if (records == 1)
            list.AddStructToList("x", 1);
        KeyComparator::sCompares = 0;
        EXPECT_EQ(list.SortList(true, 0, true), records);
        EXPECT_EQ(KeyComparator::sCompares, 0);
    }
}

TEST(CListStructs, SetPastTheEndAppends)
{
    CListStructs list(nullptr, CListStructs::kPrefix16, 0);
    list.AddStructToList("one", 3);
    list.SetNthStruct(2, "two", 3);
    list.SetNthStruct(0, "none", 4);
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"one", "two"}));
    list.SetNthStruct(1, "longer one", 10);
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"longer one", "two"}));
}

TEST(CListStructs, RecordsTheModeCannotKeepAreRefused)
{
    struct Case {
        SInt16 mode;
        std::string record;
        long length;
    } cases[] = {
        {CListStructs::kPrefix16, std::string(40000, 'x'), 40000},
        {CListStructs::kOwnLength16, Bytes({0x90, 0x00, 'x'}), 0},
        {CListStructs::kOwnLength16, Bytes({0x00, 0x01}), 0},
        {CListStructs::kOwnLength8, Bytes({0, 'x'}), 0},
        {CListStructs::kOwnLength32, Bytes({0, 0, 0, 2}), 0},
        {CListStructs::kOwnLength32, Bytes({0x80, 0, 0, 4}), 0},
    };
    for (const Case& c : cases) {
        CListStructs list(nullptr, c.mode, 0);
        EXPECT_EQ(list.AddStructToList(c.record.data(), c.length), 0) << "mode " << c.mode;
        EXPECT_EQ(list.InsertStruct(1, c.record.data(), c.length), 0) << "mode " << c.mode;
        EXPECT_EQ(list.GetCount(), 0) << "mode " << c.mode;
        EXPECT_EQ(AreaLength(list), 0) << "mode " << c.mode;
    }
    CListStructs prefixed(nullptr, CListStructs::kPrefix32, 0);
    EXPECT_THROW(prefixed.AddStructToList("x", -1), LException);
    EXPECT_THROW(CListStructs(nullptr, 7, 0), LException);
    EXPECT_THROW(CListStructs(nullptr, CListStructs::kFixedSize, 0), LException);
}

TEST(CListStructs, RecordFromItsOwnBufferIsCopiedSafely)
{
    CListStructs list(nullptr, CListStructs::kPrefix32, 4);
    list.AddStructToList("first record", 12);
    for (int i = 0; i < 8; ++i)
        list.AddStructToList(list.GetNthStructPtr(1), list.GetNthStructLength(1));
    list.InsertStruct(1, list.GetNthStructPtr(2), 5);
    list.SetNthStruct(3, list.GetNthStructPtr(1), 5);
    EXPECT_EQ(Data(list, 1), "first");
    EXPECT_EQ(Data(list, 3), "first");
    EXPECT_EQ(Data(list, 10), "first record");
}

TEST(CListStructs, ExhaustedMemoryLeavesTheListAsItWas)
{
    CListStructs list(nullptr, CListStructs::kPrefix32, 4);
    list.AddStructToList("kept", 4);
    SetMaxBlockSizeForTesting(64);
    const std::string large(100, 'x');
    try {
        list.AddStructToList(large.data(), long(large.size()));
        ADD_FAILURE() << "no exception";
    } catch (const LException& e) {
        EXPECT_EQ(e.GetErrorCode(), memFullErr);
    }
    SetMaxBlockSizeForTesting(0);
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"kept"}));
    ExpectSoundLayout(list, "after the failed add");
}

TEST(CListStructs, CopyHasTheContentButNoComparator)
{
    CListStructs list(new KeyComparator(0), CListStructs::kPrefix32, 0);
    for (const char* text : {"3c", "1a", "2b"})
        list.AddStructToList(text, 2);
    const std::unique_ptr<CListObject> copy = list.GetCopy();
    auto* records = dynamic_cast<CListStructs*>(copy.get());
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records->GetComparator(), nullptr);
    EXPECT_EQ(records->GetLengthMode(), CListStructs::kPrefix32);
    EXPECT_EQ(Contents(*records), Contents(list));
    CListStructs otherMode(nullptr, CListStructs::kPrefix16, 0);
    EXPECT_THROW(list.GetCopy(otherMode), LException);
}

TEST(CListStructs, UHandleRecords)
{
    CListStructs list(nullptr, CListStructs::kPrefix32, 0);
    UHandle block;
    block.AddBytes("handle", 6);
    EXPECT_EQ(list.AddUHandleToList(&block), 1);
    list.InsertUHandle(1, &block);
    block.AddBytes("!", 1);
    list.SetNthUHandle(2, &block);
    UHandle out;
    list.GetNthUHandle(2, &out);
    EXPECT_EQ(std::string(out.GetPtr(), std::size_t(out.GetSize())), "handle!");
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"handle", "handle!"}));
}

TEST(CListStructs, CryptDataScramblesTheRecordsOnly)
{
    CListStructs list(nullptr, CListStructs::kFixedSize, 4);
    list.AddStructToList("abcd", 4);
    list.AddStructToList("efgh", 4);
    list.CryptData(0x20202020);
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"ABCD", "EFGH"}));
    list.CryptData(0x20202020);
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"abcd", "efgh"}));
}

} // namespace
