#include <gtest/gtest.h>

#include <vector>

#include "toolkit/UDiv.h"
#include "toolkit/UDrawing.h"

namespace {

TEST(UDiv, CompareUnsignedLong)
{
    EXPECT_EQ(UDiv::CompareUnsignedLong(0xFFFFFFFFu, 1), 1);
    EXPECT_EQ(UDiv::CompareUnsignedLong(1, 0x80000000u), -1);
    EXPECT_EQ(UDiv::CompareUnsignedLong(7, 7), 0);
}

TEST(UDiv, DivLongRoundedRoundsHalfAwayFromZero)
{
    struct Case {
        long a, b, c, expected;
    } cases[] = {
        {5, 2, 0, 3},   {-5, 2, 0, -3}, {1, 3, 2, 1},     {7, 0, 3, 0},  {4, 3, 0, 1},
        {1, 3, 1, 0},   {2, 4, 1, 1},   {-2, 4, 1, -1},   {3, -2, 0, -2}, {100000, 7, 300000, 4285714286},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UDiv::DivLongRounded(c.a, c.b, c.c), c.expected) << c.a << "*" << c.c << "/" << c.b;
}

std::vector<short> gKeysAsked;
std::vector<short> gBeeps;

TEST(UDiv, KeysAndBeepGoThroughTheHooks)
{
    EXPECT_FALSE(UDiv::OptionKeyDown()) << "no key is down without the window toolkit";
    UDiv::Beep();

    UDiv::sKeyDownHook = [](short code) -> Boolean {
        gKeysAsked.push_back(code);
        return code == 55;
    };
    UDiv::sBeepHook = [](short duration) { gBeeps.push_back(duration); };
    EXPECT_FALSE(UDiv::OptionKeyDown());
    EXPECT_FALSE(UDiv::ControlKeyDown());
    EXPECT_TRUE(UDiv::CommandKeyDown());
    EXPECT_FALSE(UDiv::SpaceBarDown());
    UDiv::Beep();
    UDiv::sKeyDownHook = nullptr;
    UDiv::sBeepHook = nullptr;
    EXPECT_EQ(gKeysAsked, (std::vector<short>{58, 59, 55, 49}));
    EXPECT_EQ(gBeeps, (std::vector<short>{10}));
}

TEST(UDrawing, BrightnessScalesTowardBlackAndWhite)
{
    struct Case {
        short code, brightness;
        RGBColor expected;
    } cases[] = {
        {7, 0, {0, 0, 0}},
        {7, 100, {0xFFFF, 0xFFFF, 0xFFFF}},
        {5, 50, {0xCCCC, 0xCCCC, 0xCCCC}},
        {7, 50, {0xDD6B, 0x08C2, 0x06A2}},
        {10, 50, {0xFC00, 0xF37D, 0x052F}},
        {99, 50, {0, 0, 0}},
        {-1, 80, {0x9999, 0x9999, 0x9999}},
        {2, 25, {0x4000, 0x4000, 0x4000}},
        {2, 75, {0xBFFF, 0xBFFF, 0xBFFF}},
        {1, -5, {0, 0, 0}},
        {0, 150, {0xFFFF, 0xFFFF, 0xFFFF}},
    };
    for (const Case& c : cases) {
        RGBColor color;
        UDrawing::GetRGBColor(c.code, c.brightness, &color);
        EXPECT_EQ(color.red, c.expected.red) << "code " << c.code << " brightness " << c.brightness;
        EXPECT_EQ(color.green, c.expected.green) << "code " << c.code << " brightness " << c.brightness;
        EXPECT_EQ(color.blue, c.expected.blue) << "code " << c.code << " brightness " << c.brightness;
    }
}

} // namespace
