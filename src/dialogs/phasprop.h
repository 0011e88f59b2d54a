// The modal dialog that edits every property of one phasor, with a live check of its
// definition: each change of the definition text recalculates the whole list with that text.
#pragma once

#include <QDialog>
#include <functional>

#include "phasors/phasor.h"
#include "phasors/recalc.h"
#include "platform/canvas.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zeigora {

class TComplexEditorFrame;

class TPhasorPropertiesForm : public QDialog {
    Q_OBJECT

  public:
    // Edits phasors[phasorIndex]. The record is looked up by its index on every access, since
    // the list may be replaced while the dialog runs; an index that has gone is left alone.
    TPhasorPropertiesForm(TPhasorArray& phasors, int phasorIndex, bool rootsMode,
                          QWidget* parent = nullptr);

    // The colour the shape shows (0x00BBGGRR).
    TColor ShapeColor() const { return Color; }

    // Optional: told the result of every recalculation the live check runs, so that the
    // owner's error list can follow the text being typed.
    std::function<void(const TRecalcResult&)> OnRecalculated;

    QGroupBox* GroupBox1;
    QCheckBox* PhasorVisibleCheckBox;
    QLabel* Label1;
    QLineEdit* PhasorNameEdit;
    QCheckBox* NameVisibleCheckBox;
    QLabel* Label7;
    QLineEdit* DefEdit;
    QLabel* ErrorStatusLabel;
    TComplexEditorFrame* ComplexEditorFrame;
    QLabel* Label3;
    QWidget* PhasorColorShape;
    QLabel* Label2;
    QComboBox* PhasorStyleComboBox;
    QLabel* Label4;
    QComboBox* PhasorScaleComboBox;
    QLabel* Label5;
    QComboBox* PhasorWidthComboBox;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void setVisible(bool visible) override;

  public slots:
    void reject() override;

  private:
    void CreateControls();
    void CreateLists();
    void ArrangeTabOrder();
    void ConnectEvents();
    void FormCreate(bool rootsMode);
    void FormShow();
    void DefEditChange();
    void OKButtonClick();
    void PhasorColorShapeMouseDown();
    void SetShapeColor(TColor color);
    TPhasor* Edited();

    TPhasorArray& Phasors;
    int Index;
    TPhasor Original;  // the record as it was when the dialog opened, for Cancel
    bool HasOriginal = false;
    TColor Color = clBlack;
    bool Shown = false;
};

}  // namespace zeigora
