#include <gtest/gtest.h>

#include <QImage>

#include <stdexcept>

#include "framework/QuickDraw.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/StTextStateQOR.h"

namespace {

void Scribble()
{
    TextFont(3);
    TextSize(24);
    TextFace(bold | italic);
    TextMode(srcXor);
}

TEST(StTextStateQOR, PutsBackThePortsTextSettingsAtTheEndOfItsScope)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    StPaintPort port(&image);
    TextSize(12);
    TextFace(underline);
    {
        StTextStateQOR saved;
        Scribble();
    }
    try {
        StTextStateQOR saved;
        Scribble();
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    const GrafPort& state = port.Port();
    EXPECT_EQ(state.textFont, systemFont);
    EXPECT_EQ(state.textSize, 12);
    EXPECT_EQ(state.textFace, underline);
    EXPECT_EQ(state.textMode, srcOr);

    StTextStateQOR halves;
    Scribble();
    halves.Restore();
    EXPECT_EQ(state.textSize, 12);
    TextSize(30);
    halves.Save();
    TextSize(8);
    halves.Restore();
    EXPECT_EQ(state.textSize, 30) << "Save takes the settings of the moment";
}

} // namespace
