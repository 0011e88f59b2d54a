#include "dialogs/paintboxwidget.h"

#include <gtest/gtest.h>

#include <QImage>

namespace zeigora {
namespace {

// The widget shows a frame's changes only where the frame reports them (and where frames drawn
// without showing reported them), and otherwise keeps what it showed; a new size shows all.
TEST(PaintBoxWidget, ShowsWhatTheFramesChanged) {
    TPaintBoxWidget widget;
    widget.resize(60, 40);
    TColor fill = clRed;
    QRect changed;  // null: the surface's own report (all of it)
    widget.Surface().OnPaint = [&](TPaintBoxEx& s) {
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x)
                s.SetPixel(x, y, fill);  // byte 3 becomes 0: still shown opaque
        if (!changed.isNull()) s.Changed = changed;
    };
    auto shown = [&](int x, int y) { return widget.grab().toImage().pixel(x, y); };
    EXPECT_EQ(shown(30, 20), 0xFFFF0000u);
    fill = 0xFF0000;  // blue
    changed = QRect(10, 5, 20, 10);
    const QImage partly = widget.grab().toImage();
    EXPECT_EQ(partly.pixel(10, 5), 0xFF0000FFu);
    EXPECT_EQ(partly.pixel(29, 14), 0xFF0000FFu);
    EXPECT_EQ(partly.pixel(30, 14), 0xFFFF0000u);
    EXPECT_EQ(partly.pixel(9, 5), 0xFFFF0000u);
    fill = 0x00FF00;  // green
    changed = QRect(0, 0, 5, 5);
    widget.Redraw();  // drawn, not shown
    changed = QRect(50, 30, 1, 1);
    const QImage later = widget.grab().toImage();
    EXPECT_EQ(later.pixel(4, 4), 0xFF00FF00u);
    EXPECT_EQ(later.pixel(50, 30), 0xFF00FF00u);
    EXPECT_EQ(later.pixel(20, 10), 0xFF00FF00u);  // inside the rectangle around both
    EXPECT_EQ(later.pixel(55, 35), 0xFFFF0000u);
    widget.resize(70, 40);
    EXPECT_EQ(shown(40, 20), 0xFF00FF00u);
}

}  // namespace
}  // namespace zeigora
