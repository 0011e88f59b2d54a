// Pointer, status bar, zoom, grid combos and calibration of the main window.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QToolBar>
#include <QWheelEvent>

#include "complex/numtext.h"
#include "mainform_support.h"

namespace zeigora {
namespace {

class MainFormPointerTest : public MainFormTest {
  protected:
    // The tip of a phasor as the last frame drew it.
    QPoint Tip(int index) {
        Frame();
        for (const TDrawnPhasor& d : Form->View.DrawnPhasors)
            if (d.Phasor == &Form->Phasors[static_cast<std::size_t>(index)])
                return QPoint(d.X2, d.Y2);
        ADD_FAILURE() << "phasor " << index << " not drawn";
        return {};
    }
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
        QMouseEvent event(type, at, Form->PaintBox1->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(Form->PaintBox1, &event);
    }
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        Send(QEvent::MouseButtonPress, button, button, from);
        Send(QEvent::MouseMove, Qt::NoButton, button, to);
        Send(QEvent::MouseButtonRelease, button, Qt::NoButton, to);
    }
    // To the window's handler: a real wheel event over the drawing reaches it unhandled.
    void Wheel(int delta) {
        QWheelEvent event(QPoint(10, 10), Form->mapToGlobal(QPoint(10, 10)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Form.get(), &event);
    }
    // What the platform delivers for a double click.
    void DoubleClick(QPoint at) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
            Send(type, Qt::LeftButton, Qt::LeftButton, at);
            Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
        }
    }
    double Im(int y) const {
        return PixelToIm(Form->PaintBox1->height(), y, Form->View.Mapping.Factor1Y);
    }
};

TEST_F(MainFormPointerTest, LeftDragMovesAConstantPhasorRightDragOnlySelects) {
    const QPoint tip = Tip(0), target = tip + QPoint(-30, 20);
    Drag(Qt::RightButton, tip, target);
    EXPECT_EQ(Form->SelectedIndex(), 0);
    EXPECT_EQ(std::make_pair(Form->Phasors[0].Value.Re, Form->Phasors[0].Value.Im),
              std::make_pair(2.0, -1.0));
    EXPECT_FALSE(Form->Dragging);

    Drag(Qt::LeftButton, tip, target);  // the value follows the pointer
    EXPECT_EQ(Tip(0), target);
}

TEST_F(MainFormPointerTest, StatusBarShowsPixelAndPlaneCoordinatesOnceAFrameExists) {
    Form->View.Mapping = TPlaneMapping{};  // as before the first frame: all factors 0
    Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(300, 20));
    EXPECT_EQ(Form->StatusText(1), "X: 300");
    EXPECT_EQ(Form->StatusText(2), "Y: 20");
    EXPECT_EQ(Form->StatusText(4), "Im1: 0,0");
    Frame();
    Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(300, 20));
    EXPECT_EQ(Form->StatusText(3), "Re1: 0,000");
    EXPECT_EQ(Form->StatusText(4), "Im1: " + FormatFixed(Im(20), 3, ','));
    EXPECT_EQ(Form->StatusText(0), "600x" + std::to_string(Form->PaintBox1->height()));
}

TEST_F(MainFormPointerTest, DoubleClickOnEmptySpaceSaysNoPhasorIsSelected) {
    Form->SelectPhasor(&Form->Phasors[0]);
    Frame();
    Dialogs.ExpectError("Kein Zeiger ausgew\xE4hlt.");
    DoubleClick(QPoint(2, 2));
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_TRUE(PhasorDialogCalls.empty());
    DoubleClick(Tip(1));
    EXPECT_EQ(PhasorDialogCalls, (std::vector<int>{1}));
}

TEST_F(MainFormPointerTest, LeavingTheDrawingForAnotherControlClearsTheSelection) {
    Form->PaintBox1->setFocus(Qt::MouseFocusReason);
    Form->SelectPhasor(&Form->Phasors[0]);
    Combo("Zoom1ComboBox")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_FALSE(PhasorCommandsEnabled());
}

TEST_F(MainFormPointerTest, ZoomComboTurnsRedForTextAndKeepsTheZoomForZero) {
    const struct {
        const char* Text;
        bool Red;
        double Scale1;
    } cases[] = {{"abc", true, 1.0}, {"2", false, 2.0}, {"0", false, 2.0}};
    for (const auto& c : cases) {
        TypeInto("Zoom1ComboBox", c.Text);
        EXPECT_EQ(IsRed("Zoom1ComboBox"), c.Red) << c.Text;
        EXPECT_EQ(Action("ZoomIn1Button")->isEnabled(), !c.Red) << c.Text;
        EXPECT_EQ(Action("ZoomOut1Button")->isEnabled(), !c.Red) << c.Text;
        EXPECT_EQ(Form->PlaneSettings().Scale1, c.Scale1) << c.Text;
    }
    EXPECT_EQ(Form->PlaneSettings().Scale2, 1.0);
}

TEST_F(MainFormPointerTest, ZoomButtonsAndTheWheelShowTheGeneralFormat) {
    for (const char* expected : {"0,5", "0,25", "0,125"}) {
        Action("ZoomIn1Button")->trigger();
        EXPECT_EQ(ComboText("Zoom1ComboBox"), expected);
    }
    Action("ZoomOut2Button")->trigger();
    EXPECT_EQ(ComboText("Zoom2ComboBox"), "2");
    Wheel(-120);
    EXPECT_EQ(Form->PlaneSettings().Scale1, 0.25);
    // The wheel zooms the scale of the selected phasor.
    Form->Phasors[1].Scale = 1;
    Form->SelectPhasor(&Form->Phasors[1]);
    Wheel(120);
    EXPECT_EQ(Form->PlaneSettings().Scale2, 1.0);
    EXPECT_EQ(Form->PlaneSettings().Scale1, 0.25);
    EXPECT_EQ(ComboText("Zoom2ComboBox"), "1");
}

TEST_F(MainFormPointerTest, GridCombosFallBackWhenTheTextIsRejected) {
    const struct {
        const char *Combo, *Text;
        bool Red;
        double Re, Im;
        bool SubGrid;
        int Sub;
    } cases[] = {
        {"ReIntervalsComboBox", "2,5", false, 2.5, 2.0, true, 3},
        {"ReIntervalsComboBox", "0", true, 3.0, 2.0, true, 3},
        {"ImIntervalsComboBox", "x", true, 3.0, 3.0, true, 3},
        {"ImIntervalsComboBox", "5", false, 3.0, 5.0, true, 3},
        {"SubIntervalsComboBox", "4", false, 3.0, 5.0, true, 4},
        {"SubIntervalsComboBox", "1", true, 3.0, 5.0, true, 3},
        {"SubIntervalsComboBox", "Kein", true, 3.0, 5.0, false, 3},
        {"SubIntervalsComboBox", "2,5", true, 3.0, 5.0, true, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Combo) + " " + c.Text);
        TypeInto(c.Combo, c.Text);
        const TPlaneSettings& s = Form->PlaneSettings();
        EXPECT_EQ(IsRed(c.Combo), c.Red);
        EXPECT_EQ(std::make_tuple(s.ReIntervals, s.ImIntervals, s.SubGridVisible, s.SubIntervals),
                  std::make_tuple(c.Re, c.Im, c.SubGrid, c.Sub));
    }
}

TEST_F(MainFormPointerTest, CalibrationGivesTheGridsAspectRatio) {
    const int decoration = Form->height() - Form->PaintBox1->height();
    Action("SetHeight")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Form->width(), 608);
    EXPECT_EQ(Form->PaintBox1->height(), 400);  // 600 * 2 / 3
    EXPECT_EQ(Form->height(), 400 + decoration);

    TypeInto("ReIntervalsComboBox", "4");
    Action("SetWidth")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Form->width(), 800 + 8);  // 400 * 4 / 2
    EXPECT_EQ(Form->PaintBox1->height(), 400);

    // Intervals that round to zero are reported and keep the size.
    TypeInto("ReIntervalsComboBox", "0,4");
    const QSize size = Form->size();
    Dialogs.ExpectError("Division durch Null");
    QTest::mouseClick(Child<QToolBar>("GridToolBar")->widgetForAction(Action("SetHeightButton")),
                      Qt::LeftButton);
    EXPECT_EQ(Form->size(), size);
}

}  // namespace
}  // namespace zeigora
