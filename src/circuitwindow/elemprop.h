// The dialog in which the user edits one element of the circuit tree: name and value, for a
// group its connection kind and its members; it shows the element's impedance, voltage and
// current and hands voltage or current to the phasor plane as a new phasor.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "circuit/circcalc.h"
#include "phasors/phasor.h"
#include "plane/paintboxex.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zeigora {

class TComplexEditorFrame;
class TPaintBoxWidget;
class TLinkLabel;

// What the dialog shares with the circuit window that opens it. The dialog edits the element
// SelectedElement refers to and moves that same reference when the user goes to another
// element, so the window's highlight follows.
struct TElementDialogLinks {
    TCustomCircuitElement*& SelectedElement;
    const TCircuitSupply& Supply;
    const bool& ShowElementNames;
    const bool& ShowElementValues;
    std::function<void()> RedrawDiagram;
    // The main window's phasor list and what refreshes the main window after an append.
    TPhasorArray& Phasors;
    std::function<void()> PhasorsChanged;
    // Told after every change of the tree, with the caption of the undo step (UTF-8) and the
    // field typed into (0 for none): typing on in one field continues the step.
    std::function<void(const char* caption, int field)> TreeChanged = nullptr;
};

class TElementPropertiesForm : public QDialog {
  public:
    explicit TElementPropertiesForm(TElementDialogLinks links, QWidget* parent = nullptr);

    // Fills every control from SelectedElement (on opening and on moving to another element).
    void InitForElement();

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* ElementNameEdit;
    QLabel* Label2;
    QLabel* ElementTypeLabel;
    QLabel* Label4;
    QLineEdit* ElementValueEdit;
    QLabel* ValueTypeLabel;
    TPaintBoxWidget* PaintBox1;
    QLabel* Label3;
    TLinkLabel* ParentLabel;
    TComplexEditorFrame* ComplexEditorFrame1;
    QPushButton* UButton;
    QPushButton* IButton;
    QPushButton* PowerInformationButton;
    QPushButton* ShowDetailsButton;
    TComplexEditorFrame* ComplexEditorFrame2;
    TComplexEditorFrame* ComplexEditorFrame3;
    QGroupBox* GroupEditorGroupBox;
    QLabel* Label5;
    QRadioButton* SerialRadioButton;
    QRadioButton* ParallelRadioButton;
    QListWidget* ElementListBox;
    TLinkLabel* NewRLabel;
    TLinkLabel* NewLLabel;
    TLinkLabel* NewCLabel;
    TLinkLabel* NewGroupLabel;
    TLinkLabel* EditElementLabel;
    TLinkLabel* DeleteElementLabel;
    TLinkLabel* ToGroupLabel;

  private:
    void CreateControls();
    void CreateGroupEditor();
    void ConnectEvents();
    TCustomCircuitElement& Element() const { return *Links.SelectedElement; }
    TCircuitElementGroup* EditedGroup() const;
    void SetHeight(int height);
    void ElementNameEditChange();
    void ElementValueEditChange();
    void ShowQuantities();
    void PaintPreview(TPaintBoxEx& surface);
    void ShowDetailsButtonClick();
    void ParentLabelClick();
    void FillElementList();
    void ElementListBoxSelectionChange();
    int ActiveEntry() const;
    void MoveTo(TCustomCircuitElement* element);
    void EditElementLabelClick();
    void DeleteElementLabelClick();
    void ConnectionClick();
    void AddNewElement(std::unique_ptr<TCustomCircuitElement> element, const char* caption);
    void TreeChanged(const char* caption, int field = 0);
    void NewGroupLabelClick();
    void ToGroupLabelClick();
    void AddPhasor(bool current);
    void PowerInformationButtonClick();

    TElementDialogLinks Links;
};

// The words the dialog shows for an element type: "Gruppe", "Widerstand", "Kondensator",
// "Spule", and "Unbekannt" for anything else.
const char* ElementTypeName(int elementType);

// The fields of the dialog whose typing the undo history joins into one step.
inline constexpr int NameField = 1;
inline constexpr int ValueField = 2;

}  // namespace zeigora
