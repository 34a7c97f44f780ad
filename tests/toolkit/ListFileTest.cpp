#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/toolkit/ListModel.h"
#include "toolkit/CListStr255.h"
#include "toolkit/CListStructs.h"

namespace {

using Bytes = std::vector<UInt8>;

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Be32(UInt32 value)
{
    return {UInt8(value >> 24), UInt8(value >> 16), UInt8(value >> 8), UInt8(value)};
}

std::vector<std::string> Strings(CListStr255& list)
{
    std::vector<std::string> strings;
    for (long i = 1; i <= list.GetCount(); ++i) {
        Str255 s;
        list.GetNthStr255(i, s);
        strings.emplace_back(reinterpret_cast<const char*>(s + 1), s[0]);
    }
    return strings;
}

void Add(CListStr255& list, const std::string& text)
{
    Str255 s;
    s[0] = UInt8(text.size());
    std::copy(text.begin(), text.end(), s + 1);
    list.AddStr255ToList(s);
}

// Pascal strings ordered by their text.
class TextComparator : public CComparator {
public:
    SInt32 Compare(long a, long b) override
    {
        const auto* x = reinterpret_cast<const UInt8*>(a);
        const auto* y = reinterpret_cast<const UInt8*>(b);
        return std::string(reinterpret_cast<const char*>(x + 1), x[0] - 1)
            .compare(std::string(reinterpret_cast<const char*>(y + 1), y[0] - 1));
    }
};

TEST(ListFile, EmptyListIsTwoZeroLengths)
{
    CListStr255 list;
    Bytes bytes;
    EXPECT_EQ(list.WriteToBytes(bytes, true), 8);
    EXPECT_EQ(bytes, Bytes(8, 0));
    Add(list, "stale");
    const ListReadResult result = list.ReadFromBytes(bytes, true);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.consumed, 8u);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(ListFile, BytesAreBigEndianIndexThenRecordArea)
{
    CListStr255 list(new TextComparator);
    Add(list, "usr");
    Add(list, "bin");
    Bytes bytes;
    EXPECT_EQ(list.WriteToBytes(bytes, true), 4 + 8 + 4 + 8);
    const Bytes expected = Concat({Be32(8), Be32(4), Be32(0), Be32(8), {4, 'u', 's', 'r', 4, 'b', 'i', 'n'}});
    EXPECT_EQ(bytes, expected);

    Bytes withoutIndex;
    EXPECT_EQ(list.WriteToBytes(withoutIndex, false), 12);
    EXPECT_EQ(withoutIndex, Concat({Be32(8), {4, 'u', 's', 'r', 4, 'b', 'i', 'n'}}));
}

TEST(ListFile, IndexKeepsListOrderAndAWalkFindsPhysicalOrder)
{
    CListStr255 sorted(new TextComparator);
    for (const char* name : {"var", "etc", "usr", "bin"})
        Add(sorted, name);
    Bytes indexed, plain;
    sorted.WriteToBytes(indexed, true);
    sorted.WriteToBytes(plain, false);

    CListStr255 read;
    EXPECT_TRUE(read.ReadFromBytes(indexed, true).ok);
    EXPECT_EQ(Strings(read), (std::vector<std::string>{"bin", "etc", "usr", "var"}));
    EXPECT_TRUE(read.ReadFromBytes(plain, false).ok);
    EXPECT_EQ(Strings(read), (std::vector<std::string>{"var", "etc", "usr", "bin"}));

    CListStr255 resorted(new TextComparator);
    EXPECT_TRUE(resorted.ReadFromBytes(plain, false).ok);
    EXPECT_EQ(Strings(resorted), (std::vector<std::string>{"bin", "etc", "usr", "var"}));
}

TEST(ListFile, RoundTripIsByteExactInEveryMode)
{
    std::mt19937 random(3);
    for (SInt16 mode : {CListStructs::kPrefix32, CListStructs::kPrefix16, CListStructs::kFixedSize,
                        CListStructs::kOwnLength32, CListStructs::kOwnLength16, CListStructs::kOwnLength8}) {
        CListStructs list(new KeyComparator(KeyOffset(mode)), mode, kFixedRecordSize);
        for (int i = 0; i < 40; ++i) {
            const std::string record = MakeRecord(mode, random);
            list.AddStructToList(record.data(), long(record.size()));
        }
        for (Boolean withIndex : {true, false}) {
            Bytes written;
            list.WriteToBytes(written, withIndex);
            CListStructs read(new KeyComparator(KeyOffset(mode)), mode, kFixedRecordSize);
            const ListReadResult result = read.ReadFromBytes(written, withIndex);
            EXPECT_TRUE(result.ok) << "mode " << mode;
            EXPECT_EQ(result.consumed, written.size()) << "mode " << mode;
            Bytes again;
            read.WriteToBytes(again, withIndex);
            EXPECT_EQ(again, written) << "mode " << mode << (withIndex ? " with index" : "");
        }
    }
}

TEST(ListFile, ReadingStopsAtTheListsEnd)
{
    CListStr255 list;
    Add(list, "one");
    Bytes bytes;
    list.WriteToBytes(bytes, true);
    const std::size_t listBytes = bytes.size();
    bytes.insert(bytes.end(), {0xDE, 0xAD});
    CListStr255 read;
    const ListReadResult result = read.ReadFromBytes(bytes, true);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.consumed, listBytes);
}

TEST(ListFile, AddingAppendsAndRaisesTheOffsets)
{
    CListStr255 first;
    Add(first, "alpha");
    CListStr255 second;
    Add(second, "beta");
    Add(second, "gamma");
    Bytes bytes;
    second.WriteToBytes(bytes, true);
    EXPECT_TRUE(first.AddFromBytes(bytes, true).ok);
    EXPECT_EQ(Strings(first), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    Bytes plain;
    second.WriteToBytes(plain, false);
    EXPECT_TRUE(first.AddFromBytes(plain, false).ok);
    EXPECT_EQ(Strings(first), (std::vector<std::string>{"alpha", "beta", "gamma", "beta", "gamma"}));

    const Bytes empty(8, 0);
    EXPECT_FALSE(first.AddFromBytes(empty, true).ok) << "appending wants a positive index length";
    EXPECT_EQ(first.GetCount(), 5);
}

TEST(ListFile, IndexLengthZeroStillReadsTheRecordArea)
{
    const Bytes bytes = Concat({Be32(0), Be32(4), {4, 'a', 'b', 'c'}});
    CListStr255 list;
    const ListReadResult result = list.ReadFromBytes(bytes, true);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.consumed, bytes.size());
    EXPECT_EQ(list.GetCount(), 0);
}

struct CorruptCase {
    const char* what;
    SInt16 mode;
    Boolean withIndex;
    Bytes bytes;
    long keptCount;
};

TEST(ListFile, CorruptInputFailsAndKeepsWhatWasRead)
{
    const Bytes area = {4, 'a', 'b', 'c', 3, 'd', 'e'};
    const CorruptCase cases[] = {
        {"negative index length", CListStructs::kOwnLength8, true, Concat({Be32(0xFFFFFFFC), Be32(7), area}), 0},
        {"odd index length", CListStructs::kOwnLength8, true, Concat({Be32(6), Be32(0), Be32(4), area}), 0},
        {"index past the end", CListStructs::kOwnLength8, true, Concat({Be32(400), Be32(0)}), 0},
        {"negative area length", CListStructs::kOwnLength8, true, Concat({Be32(4), Be32(0), Be32(0xFFFFFFF0)}), 0},
        {"area past the end", CListStructs::kOwnLength8, true, Concat({Be32(4), Be32(0), Be32(70), area}), 0},
        {"offset past the area", CListStructs::kOwnLength8, true,
         Concat({Be32(8), Be32(0), Be32(90), Be32(7), area}), 1},
        {"negative offset", CListStructs::kOwnLength8, true, Concat({Be32(8), Be32(4), Be32(0xFFFFFFFF), Be32(7), area}),
         1},
        {"overlapping records", CListStructs::kOwnLength8, true, Concat({Be32(8), Be32(0), Be32(1), Be32(7), area}), 1},
        {"one record twice", CListStructs::kOwnLength8, true, Concat({Be32(8), Be32(4), Be32(4), Be32(7), area}), 1},
        {"record past the area", CListStructs::kOwnLength8, true,
         Concat({Be32(8), Be32(0), Be32(4), Be32(7), {4, 'a', 'b', 'c', 9, 'd', 'e'}}), 1},
        {"record length 0 in a walk", CListStructs::kOwnLength8, false, Concat({Be32(7), {4, 'a', 'b', 'c', 0, 'd', 'e'}}),
         1},
        {"record past the area in a walk", CListStructs::kOwnLength8, false,
         Concat({Be32(7), {4, 'a', 'b', 'c', 8, 'd', 'e'}}), 1},
        {"prefix shorter than itself", CListStructs::kPrefix32, false, Concat({Be32(8), Be32(2), Be32(0)}), 0},
        {"negative 16-bit prefix", CListStructs::kPrefix16, false, Concat({Be32(4), {0x80, 0x00, 'x', 'y'}}), 0},
        {"partial fixed record", CListStructs::kFixedSize, false, Concat({Be32(6), {1, 2, 3, 4, 5, 6}}), 1},
        {"own length cut off", CListStructs::kOwnLength32, false, Concat({Be32(8), Be32(6), {'x', 'y', 0, 0}}), 1},
    };
    for (const CorruptCase& c : cases) {
        CListStructs list(nullptr, c.mode, 4);
        const ListReadResult result = list.ReadFromBytes(c.bytes, c.withIndex);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_LE(result.consumed, c.bytes.size()) << c.what;
        EXPECT_EQ(list.GetCount(), c.keptCount) << c.what;
        for (long i = 1; i <= list.GetCount(); ++i) {
            std::string data(std::size_t(list.GetNthStructLength(i)), '\0');
            list.GetNthStruct(i, data.data(), 0);
        }
        Bytes again;
        list.WriteToBytes(again, true);
        CListStructs reread(nullptr, c.mode, 4);
        EXPECT_TRUE(reread.ReadFromBytes(again, true).ok) << c.what << ": what was kept is a sound list";
    }
}

TEST(ListFile, TruncatedLengthsReadAsZero)
{
    CListStr255 list;
    const ListReadResult result = list.ReadFromBytes(Bytes{0, 0}, true);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(ListFile, FixedSizeListIsCompactedAfterARead)
{
    // Two 4-byte records at offsets 0 and 8 of a 12-byte area: the gap goes.
    const Bytes bytes = Concat({Be32(8), Be32(8), Be32(0), Be32(12), {'a', 'b', 'c', 'd', '-', '-', '-', '-', 'e', 'f', 'g', 'h'}});
    CListStructs list(nullptr, CListStructs::kFixedSize, 4);
    EXPECT_TRUE(list.ReadFromBytes(bytes, true).ok);
    EXPECT_TRUE(list.BufferSizeOK());
    Bytes again;
    list.WriteToBytes(again, true);
    EXPECT_EQ(again, Concat({Be32(8), Be32(0), Be32(4), Be32(8), {'e', 'f', 'g', 'h', 'a', 'b', 'c', 'd'}}));
}

TEST(ListFile, CountedFixedRecords)
{
    CListStructs list(nullptr, CListStructs::kFixedSize, 4);
    list.AddStructToList("abcd", 4);
    list.InsertStruct(1, "wxyz", 4);
    Bytes bytes;
    EXPECT_EQ(list.WriteToBytesNItems(bytes), 12);
    EXPECT_EQ(bytes, Concat({Be32(2), {'w', 'x', 'y', 'z', 'a', 'b', 'c', 'd'}}));

    CListStructs read(nullptr, CListStructs::kFixedSize, 4);
    const ListReadResult result = read.ReadFromBytesNItems(bytes);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.consumed, 12u);
    EXPECT_EQ(read.GetCount(), 2);
    EXPECT_EQ(std::string(read.GetNthStructPtr(1), 4), "wxyz");

    CListStructs short_(nullptr, CListStructs::kFixedSize, 4);
    EXPECT_FALSE(short_.ReadFromBytesNItems(Concat({Be32(3), {'a', 'b', 'c', 'd'}})).ok);
    EXPECT_FALSE(short_.ReadFromBytesNItems(Be32(0xFFFFFFFF)).ok);
    EXPECT_EQ(short_.GetCount(), 0);

    CListStr255 strings;
    Bytes none;
    EXPECT_EQ(strings.WriteToBytesNItems(none), 0);
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(strings.ReadFromBytesNItems(bytes).ok);
}

TEST(CListStr255, StringsKeepTheirTextUpTo254Characters)
{
    CListStr255 list;
    Add(list, std::string(255, 'x'));
    Add(list, "");
    Add(list, "name");
    EXPECT_EQ(Strings(list), (std::vector<std::string>{std::string(254, 'x'), "", "name"}));
    Str255 s;
    list.GetNthStr255(0, s);
    EXPECT_EQ(s[0], 0);
    list.GetNthStr255(4, s);
    EXPECT_EQ(s[0], 0);
    const unsigned char other[] = {5, 'o', 't', 'h', 'e', 'r'};
    list.SetNthStr255(2, other);
    EXPECT_EQ(Strings(list), (std::vector<std::string>{std::string(254, 'x'), "other", "name"}));

    std::unique_ptr<CListObject> copy = list.GetCopy();
    auto* strings = dynamic_cast<CListStr255*>(copy.get());
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(Strings(*strings), Strings(list));
}

} // namespace
