// The grid and axis settings dialog: colours and pen styles of grid, sub-grid and axes, the axis
// numbers, tick length, axis names, background and margin. It loads the plane settings when it
// is created and writes them back only on OK; the caller repaints after either button.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QSpinBox>
#include <QWidget>
#include <functional>

#include "plane/planesettings.h"
#include "platform/canvas.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace zeigora {

// A rectangle filled with one colour; a press on it runs the shape's handler.
class TColorShape : public QWidget {
    Q_OBJECT

  public:
    explicit TColorShape(QWidget* parent = nullptr);

    TColor BrushColor() const { return Color; }
    void SetBrushColor(TColor color);
    std::function<void(TColorShape*)> OnMouseDown;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    TColor Color = clWhite;
};

// A fixed list of empty items that its owner draws, in the popup and in the closed box alike.
class TOwnerDrawComboBox : public QComboBox {
    Q_OBJECT

  public:
    // Draws item `index` on a canvas as large as `rect`.
    using TDrawItem = std::function<void(TCanvas& canvas, const TRect& rect, int index)>;

    TOwnerDrawComboBox(int itemCount, int itemHeight, QWidget* parent = nullptr);

    void SetDrawItem(TDrawItem drawItem) { DrawItem = std::move(drawItem); }
    int ItemHeight() const { return ItemHeight_; }
    // Draws the item through the owner's handler into `target` on `painter`.
    void PaintItem(QPainter& painter, const QRect& target, int index) const;
    // Repaints the closed box and the open list.
    void Repaint();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TDrawItem DrawItem;
    int ItemHeight_;
};

// A spin edit whose up and down buttons keep within their own limits, while typed values may go
// beyond them (within a wide guard range that keeps pixel sums far from overflowing).
class TSpinEdit : public QSpinBox {
    Q_OBJECT

  public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    void SetButtonLimits(int minimum, int maximum);
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;
    // Text that is no integer (empty, a lone sign) reads as the edit's minimum.
    void fixup(QString& input) const override;

  private:
    bool Limited = false;
    int ButtonMin = 0;
    int ButtonMax = 0;
};

class TGridSettingsForm : public QDialog {
    Q_OBJECT

  public:
    TGridSettingsForm(TPlaneSettings& settings, QWidget* parent = nullptr);

  private:
    void CreateControls();
    void CreateGridGroup();
    void CreateSubGridGroup();
    void CreateAxisGroup();
    void CreateOtherGroup();
    void CreateButtons();
    void ConnectEvents();
    void CenterOnScreen();

    void FormCreate();
    void SubGridColorShapeMouseDown(TColorShape* shape);
    void AccuracySpinEditChange(TSpinEdit* edit);
    void SafetyFactorSpinEditExit();
    void MarkLengthTrackBarChange();
    void ShowNumbersCheckBoxClick();
    void OKButtonClick();
    void CancelButtonClick();
    void RepaintStyleLists();

    TPlaneSettings& Settings;
    // The colour dialog starts with the colour last chosen in it while this dialog lives.
    TColor ColorDialog1Color;

    TColorShape* GridColorShape = nullptr;
    TOwnerDrawComboBox* GridStyleComboBox = nullptr;
    TColorShape* SubGridColorShape = nullptr;
    TOwnerDrawComboBox* SubGridStyleComboBox = nullptr;
    TColorShape* AxisColorShape = nullptr;
    TOwnerDrawComboBox* AxisStyleComboBox = nullptr;
    QCheckBox* ShowNumbersCheckBox = nullptr;
    QCheckBox* AutoValuesCheckBox = nullptr;
    QLabel* Label6 = nullptr;
    TSpinEdit* AccuracySpinEdit = nullptr;
    QLabel* Label7 = nullptr;
    TSpinEdit* SafetySpaceSpinEdit = nullptr;
    QSlider* MarkLengthTrackBar = nullptr;
    QLabel* MarkLengthLabel = nullptr;
    QLineEdit* ReLabelEdit = nullptr;
    QLineEdit* ImLabelEdit = nullptr;
    TColorShape* BackGroundColorShape = nullptr;
    TSpinEdit* SafetyFactorSpinEdit = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

// The margin percent the dialog shows for a margin factor, kept within 1..49 (10 for a factor
// that is no number).
int MarginPercent(double marginFactor);
// The margin factor of a margin percent, after keeping the percent within 1..49.
double MarginFactorOf(int percent);

}  // namespace zeigora
