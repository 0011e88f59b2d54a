// Pointer, status bar, zoom, grid combos and calibration of the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include "complex/numtext.h"
#include "dialogs/paintboxwidget.h"
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
    void Wheel(int delta) {
        const QPoint at(10, 10);
        QWheelEvent event(at, Form->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        // The window's handler; a real wheel event over the drawing reaches it because the
        // drawing leaves it unhandled.
        QApplication::sendEvent(Form.get(), &event);
    }
    // What the platform delivers for a double click.
    void DoubleClick(QPoint at) {
        Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
        Send(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, at);
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
    }
    void ClickToolButton(const char* toolBar, const char* action) {
        auto* bar = Form->findChild<QToolBar*>(toolBar);
        QTest::mouseClick(bar->widgetForAction(Action(action)), Qt::LeftButton);
    }
};

TEST_F(MainFormPointerTest, LeftDragMovesAConstantPhasorRightDragOnlySelects) {
    const QPoint tip = Tip(0);
    const QPoint target = tip + QPoint(-30, 20);
    const TComplex before = Form->Phasors[0].Value;
    Drag(Qt::RightButton, tip, target);
    EXPECT_EQ(Form->SelectedIndex(), 0);
    EXPECT_EQ(Form->Phasors[0].Value.Re, before.Re);
    EXPECT_EQ(Form->Phasors[0].Value.Im, before.Im);
    EXPECT_FALSE(Form->Dragging);

    Drag(Qt::LeftButton, tip, target);
    const TPlaneMapping& m = Form->View.Mapping;
    EXPECT_DOUBLE_EQ(Form->Phasors[0].Value.Re, PixelToRe(600, target.x(), m.Factor1X));
    EXPECT_DOUBLE_EQ(Form->Phasors[0].Value.Im,
                     PixelToIm(Form->PaintBox1->height(), target.y(), m.Factor1Y));
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
    const double im = PixelToIm(Form->PaintBox1->height(), 20, Form->View.Mapping.Factor1Y);
    EXPECT_EQ(Form->StatusText(4), "Im1: " + FormatFixed(im, 3, ','));
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
    TypeInto("Zoom1ComboBox", "abc");
    EXPECT_TRUE(IsRed("Zoom1ComboBox"));
    EXPECT_FALSE(Action("ZoomIn1Button")->isEnabled());
    EXPECT_FALSE(Action("ZoomOut1Button")->isEnabled());
    TypeInto("Zoom1ComboBox", "2");
    EXPECT_FALSE(IsRed("Zoom1ComboBox"));
    EXPECT_TRUE(Action("ZoomIn1Button")->isEnabled());
    EXPECT_EQ(Form->PlaneSettings().Scale1, 2.0);
    TypeInto("Zoom1ComboBox", "0");
    EXPECT_FALSE(IsRed("Zoom1ComboBox"));
    EXPECT_EQ(Form->PlaneSettings().Scale1, 2.0);
    EXPECT_EQ(Form->PlaneSettings().Scale2, 1.0);
}

TEST_F(MainFormPointerTest, ZoomInHalvesAndShowsTheGeneralFormat) {
    for (const char* expected : {"0,5", "0,25", "0,125"}) {
        Action("ZoomIn1Button")->trigger();
        EXPECT_EQ(ComboText("Zoom1ComboBox"), expected);
    }
    Action("ZoomOut2Button")->trigger();
    EXPECT_EQ(ComboText("Zoom2ComboBox"), "2");
    EXPECT_EQ(Form->PlaneSettings().Scale1, 0.125);
}

TEST_F(MainFormPointerTest, WheelZoomsTheScaleOfTheSelectedPhasor) {
    Wheel(-120);
    EXPECT_EQ(Form->PlaneSettings().Scale1, 2.0);
    Form->Phasors[1].Scale = 1;
    Form->SelectPhasor(&Form->Phasors[1]);
    Wheel(120);
    EXPECT_EQ(Form->PlaneSettings().Scale2, 0.5);
    EXPECT_EQ(Form->PlaneSettings().Scale1, 2.0);
    EXPECT_EQ(ComboText("Zoom2ComboBox"), "0,5");
}

struct TGridCase {
    const char* Combo;
    const char* Text;
    bool Red;
    double Re, Im;
    bool SubGrid;
    int Sub;
};

TEST_F(MainFormPointerTest, GridCombosFallBackWhenTheTextIsRejected) {
    const TGridCase cases[] = {
        {"ReIntervalsComboBox", "2,5", false, 2.5, 2.0, true, 3},
        {"ReIntervalsComboBox", "0", true, 3.0, 2.0, true, 3},
        {"ImIntervalsComboBox", "x", true, 3.0, 3.0, true, 3},
        {"ImIntervalsComboBox", "5", false, 3.0, 5.0, true, 3},
        {"SubIntervalsComboBox", "4", false, 3.0, 5.0, true, 4},
        {"SubIntervalsComboBox", "1", true, 3.0, 5.0, true, 3},
        {"SubIntervalsComboBox", "Kein", true, 3.0, 5.0, false, 3},
        {"SubIntervalsComboBox", "2,5", true, 3.0, 5.0, true, 3},
    };
    for (const TGridCase& c : cases) {
        SCOPED_TRACE(std::string(c.Combo) + " " + c.Text);
        TypeInto(c.Combo, c.Text);
        EXPECT_EQ(IsRed(c.Combo), c.Red);
        EXPECT_EQ(Form->PlaneSettings().ReIntervals, c.Re);
        EXPECT_EQ(Form->PlaneSettings().ImIntervals, c.Im);
        EXPECT_EQ(Form->PlaneSettings().SubGridVisible, c.SubGrid);
        EXPECT_EQ(Form->PlaneSettings().SubIntervals, c.Sub);
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
}

TEST_F(MainFormPointerTest, CalibrationByZeroIntervalsIsReportedAndKeepsTheSize) {
    TypeInto("ReIntervalsComboBox", "0,4");
    const QSize size = Form->size();
    Dialogs.ExpectError("Division durch Null");
    ClickToolButton("GridToolBar", "SetHeightButton");
    EXPECT_EQ(Form->size(), size);
}

}  // namespace
}  // namespace zeigora
