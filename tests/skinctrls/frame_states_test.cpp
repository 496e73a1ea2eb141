// Where a maximised window goes on a screen whose work area is the whole screen, at device pixel ratios of 1
// and above: one logical pixel short of the screen on each side at 1; above 1, where a logical pixel is more
// than one device pixel, the window keeps the screen's top-left corner and is one pixel short at the right and
// bottom only. A work area smaller than the screen (a panel) is taken as it is.
#include "skinctrls/frame_states.h"

#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

struct Case {
    QRect Area, Screen;
    qreal Ratio;
    QRect Expected;
};

TEST(FrameStates, MaximizedBoundsStayOnePixelShortOfTheScreen) {
    const QRect screen(0, 0, 1280, 1024);
    const QRect scaled(0, 0, 853, 682);  // 1280 x 1024 at 1.5
    const QRect panel(0, 30, 1280, 994);
    const QRect second(1280, 0, 640, 512);  // a second screen at 2
    const Case cases[] = {
        {screen, screen, 1.0, {1, 1, 1278, 1022}},
        {scaled, scaled, 1.5, {0, 0, 852, 681}},
        {scaled, scaled, 1.25, {0, 0, 852, 681}},
        {second, second, 2.0, {1280, 0, 639, 511}},
        {panel, screen, 1.0, panel},
        {panel, screen, 2.0, panel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Ratio);
        EXPECT_EQ(MaximizedBounds(c.Area, c.Screen, c.Ratio), c.Expected);
    }
}

}  // namespace
}  // namespace dorvanel::skinctrls
