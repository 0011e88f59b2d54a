// Pointer on the drawing, the status bar read-out, the zoom and grid combos and the calibration
// of the window size.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <cmath>

#include "complex/numtext.h"
#include "dialogs/application.h"
#include "dialogs/paintboxwidget.h"
#include "mainwindow/mainform.h"
#include "mainwindow/numberformat.h"
#include "plane/hittest.h"
#include "platform/cp1252.h"

namespace zeigora {

namespace {

// A combo whose text was accepted is white, a rejected one red.
void SetComboAccepted(QComboBox* combo, bool accepted) {
    QPalette palette = combo->palette();
    const QColor color = accepted ? QColor(Qt::white) : QColor(255, 0, 0);
    palette.setColor(QPalette::Base, color);
    combo->setPalette(palette);
    if (combo->lineEdit()) combo->lineEdit()->setPalette(palette);
}

std::string ComboText(const QComboBox* combo) {
    return ToCp1252(combo->currentText());
}

bool UsableFactor(double factor) {
    return factor != 0 && !std::isnan(factor);
}

// A positive number of grid intervals from the box, or 3 when its text is none; the box shows
// which.
double ReadIntervals(QComboBox* combo) {
    double x = 0;
    const bool accepted = TryStrToFloat(ComboText(combo), x) && x > 0;
    SetComboAccepted(combo, accepted);
    return accepted ? x : 3.0;
}

}  // namespace

// ---- pointer ----

void TMainForm::PaintBox1MouseDown(TMouseButton, TShiftState, int x, int y) {
    // The segments of the last frame point into the list as it was drawn; after a change that
    // has not been drawn yet they are taken anew first.
    if (!FrameCurrent) PaintPlane();
    const PPhasor p = FindPhasorAt(View.DrawnPhasors, x, y);
    SelectPhasor(p);
    if (p && ScalablePhasors) Dragging = true;
}

void TMainForm::PaintBox1MouseMove(TShiftState shift, int x, int y) {
    ShowCoordinates(x, y);
    if (!Dragging || !shift.Left || !SelectedPhasor()) return;
    TPhasor& p = EditPhasors()[static_cast<std::size_t>(SelectedIndex_)];
    const TPlaneMapping& m = View.Mapping;
    const bool scale1 = p.Scale == 0;
    SetRe(p.Value, PixelToRe(Surface().Width(), x, scale1 ? m.Factor1X : m.Factor2X));
    SetIm(p.Value, PixelToIm(Surface().Height(), y, scale1 ? m.Factor1Y : m.Factor2Y));
    DragMoved = true;
}

void TMainForm::ShowCoordinates(int x, int y) {
    SetStatusText(1, "X: " + std::to_string(x));
    SetStatusText(2, "Y: " + std::to_string(y));
    const TPlaneMapping& m = View.Mapping;
    const int w = Surface().Width(), h = Surface().Height();
    if (UsableFactor(m.Factor1X))
        SetStatusText(3, "Re1: " + FormatCoordinate(PixelToRe(w, x, m.Factor1X)));
    if (UsableFactor(m.Factor1Y))
        SetStatusText(4, "Im1: " + FormatCoordinate(PixelToIm(h, y, m.Factor1Y)));
    if (UsableFactor(m.Factor2X))
        SetStatusText(5, "Re2: " + FormatCoordinate(PixelToRe(w, x, m.Factor2X)));
    if (UsableFactor(m.Factor2Y))
        SetStatusText(6, "Im2: " + FormatCoordinate(PixelToIm(h, y, m.Factor2Y)));
}

void TMainForm::PaintBox1MouseUp(TMouseButton, TShiftState, int, int) {
    if (ScalablePhasors) Dragging = false;
    // A whole drag, from press to release, is one step.
    if (DragMoved) CommitStep("Zeiger ziehen", SelectedIndex_);
    DragMoved = false;
}

void TMainForm::PaintBox1Exit() {
    SelectPhasor(nullptr);
    InvalidatePlane();
}

void TMainForm::wheelEvent(QWheelEvent* event) {
    WheelTurned(event->angleDelta().y());
    event->ignore();
}

void TMainForm::WheelTurned(int delta) {
    WheelDelta += delta;
    for (; WheelDelta >= QWheelEvent::DefaultDeltasPerStep; WheelDelta -= 120)
        PaintBox1MouseWheelUp();
    for (; WheelDelta <= -QWheelEvent::DefaultDeltasPerStep; WheelDelta += 120)
        PaintBox1MouseWheelDown();
}

void TMainForm::PaintBox1MouseWheelDown() {
    const TPhasor* p = SelectedPhasor();
    if (!p || p->Scale == 0)
        ZoomOut1ButtonClick();
    else
        ZoomOut2ButtonClick();
}

void TMainForm::PaintBox1MouseWheelUp() {
    const TPhasor* p = SelectedPhasor();
    if (!p || p->Scale == 0)
        ZoomIn1ButtonClick();
    else
        ZoomIn2ButtonClick();
}

// ---- zoom ----

void TMainForm::ZoomComboChange(QComboBox* combo, double& scale, QAction* zoomIn,
                                QAction* zoomOut) {
    const double x = StrToFloatEng(ComboText(combo));
    const bool accepted = !std::isnan(x);
    if (accepted && x > 0) scale = x;
    zoomIn->setEnabled(accepted);
    zoomOut->setEnabled(accepted);
    SetComboAccepted(combo, accepted);
    InvalidatePlane();
}

void TMainForm::Zoom1ComboBoxChange() {
    ZoomComboChange(Zoom1ComboBox, View.Settings.Scale1, ZoomIn1Button, ZoomOut1Button);
}

void TMainForm::Zoom2ComboBoxChange() {
    ZoomComboChange(Zoom2ComboBox, View.Settings.Scale2, ZoomIn2Button, ZoomOut2Button);
}

// The text the program puts into the combo is no change of the user's.
void TMainForm::ZoomBy(double factor, double& scale, QComboBox* combo) {
    scale *= factor;
    const QSignalBlocker blocker(combo);
    combo->setEditText(FromCp1252(FormatFloatGeneral(scale)));
    InvalidatePlane();
}

void TMainForm::ZoomIn1ButtonClick() {
    ZoomBy(0.5, View.Settings.Scale1, Zoom1ComboBox);
}
void TMainForm::ZoomOut1ButtonClick() {
    ZoomBy(2.0, View.Settings.Scale1, Zoom1ComboBox);
}
void TMainForm::ZoomIn2ButtonClick() {
    ZoomBy(0.5, View.Settings.Scale2, Zoom2ComboBox);
}
void TMainForm::ZoomOut2ButtonClick() {
    ZoomBy(2.0, View.Settings.Scale2, Zoom2ComboBox);
}

// ---- grid ----

void TMainForm::ReIntervalsComboBoxChange() {
    View.Settings.ReIntervals = ReadIntervals(ReIntervalsComboBox);
    InvalidatePlane();
}

void TMainForm::ImIntervalsComboBoxChange() {
    View.Settings.ImIntervals = ReadIntervals(ImIntervalsComboBox);
    InvalidatePlane();
}

void TMainForm::SubIntervalsComboBoxChange() {
    const std::string text = ComboText(SubIntervalsComboBox);
    if (text == "Kein") {
        View.Settings.SubGridVisible = false;
    } else {
        View.Settings.SubGridVisible = true;
        int n = 0;
        const bool accepted = TryStrToInt(text, n) && n >= 2;
        View.Settings.SubIntervals = accepted ? n : 3;
        SetComboAccepted(SubIntervalsComboBox, accepted);
    }
    InvalidatePlane();
}

// ---- calibration ----
// Both change only the window size; the surface follows. The part of the window that is not
// surface (frame, menu, tool bars, status bar) keeps its size.

void TMainForm::SetHeightButtonClick() {
    const int w = PaintBox1->width();
    const int frameWidth = width() - w;
    const int frameHeight = height() - PaintBox1->height();
    const int r = RoundToPixel(View.Settings.ReIntervals);
    const std::optional<int> columns = CheckedIntDiv(w, r);
    if (!columns) return;
    const int newWidth = w - (w - *columns * r) + frameWidth;
    const int newHeight =
        RoundToPixel(static_cast<double>(w) * View.Settings.ImIntervals / r) + frameHeight;
    resize(newWidth, newHeight);
}

void TMainForm::SetWidthButtonClick() {
    const int h = PaintBox1->height();
    const int frameWidth = width() - PaintBox1->width();
    const int frameHeight = height() - h;
    const int i = RoundToPixel(View.Settings.ImIntervals);
    const std::optional<int> rows = CheckedIntDiv(h, i);
    if (!rows) return;
    const int newHeight = h - (h - *rows * i) + frameHeight;
    const int newWidth =
        RoundToPixel(static_cast<double>(h) * View.Settings.ReIntervals / i) + frameWidth;
    resize(newWidth, newHeight);
}

}  // namespace zeigora
