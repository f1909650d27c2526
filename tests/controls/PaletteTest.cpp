#include "controls/Palette.h"

#include <gtest/gtest.h>

TEST(Palette, WindowsColourValuesAreBlueGreenRed)
{
    struct Caso
    {
        quint32 bgr;
        QColor rgb;
    };
    const Caso casos[] = {
        {0x000040C0, QColor(192, 64, 0)},    {0x00095BF4, QColor(244, 91, 9)},
        {0x0000FFFF, QColor(255, 255, 0)},   {0x00C0FFFF, QColor(255, 255, 192)},
        {0x00404040, QColor(64, 64, 64)},    {0x00FF0000, QColor(0, 0, 255)},
        {0x00FFFFFF, QColor(255, 255, 255)},
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(lumerix::colorFromBgr(caso.bgr), caso.rgb) << std::hex << caso.bgr;
}

TEST(Palette, StateCodesChooseLampAndRays)
{
    EXPECT_EQ(lumerix::lampColor(0), QColor(64, 64, 64));
    EXPECT_EQ(lumerix::lampColor(1), QColor(0, 192, 0));
    EXPECT_EQ(lumerix::lampColor(2), QColor(255, 255, 0));
    EXPECT_EQ(lumerix::lampColor(3), QColor(192, 64, 0));
    EXPECT_FALSE(lumerix::rayColor(0).isValid());
    EXPECT_EQ(lumerix::rayColor(1), QColor(0, 255, 0));
    EXPECT_EQ(lumerix::rayColor(2), QColor(255, 255, 192));
    EXPECT_EQ(lumerix::rayColor(3), QColor(244, 91, 9));
    for (int desconocido : {-1, 4, 100}) {
        EXPECT_FALSE(lumerix::lampColor(desconocido).isValid());
        EXPECT_FALSE(lumerix::rayColor(desconocido).isValid());
    }
}

TEST(Palette, TwipsFollowTheResolution)
{
    struct Caso
    {
        int twips;
        qreal dpi;
        int pixels;
    };
    const Caso casos[] = {
        {15, 96, 1},      {1440, 96, 96}, {420, 96, 28},    {8025, 96, 535}, {-15, 96, -1},
        {1440, 144, 144}, {420, 144, 42}, {2115, 120, 176}, {390, 192, 52},
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(lumerix::twipsToPixels(caso.twips, caso.dpi), caso.pixels)
            << caso.twips << " at " << caso.dpi;
}
