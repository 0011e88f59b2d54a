// The circuit calculator's window: a circuit tree shown as a diagram in which the user selects
// elements, the circuit's total impedance and current, the frequency and supply voltage, and
// the commands to edit, delete, open, save and export.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "circuit/circcalc.h"
#include "history/snapshothistory.h"
#include "phasors/phasor.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QSpinBox;
class QToolBar;
class QAction;
class QToolButton;

namespace zeigora {

class TCircuitAnalysisForm;
class TComplexEditorFrame;
class TPaintBoxWidget;
class TPaintBoxEx;

class TCircuitCalculationForm : public QDialog {
  public:
    // The element dialog appends voltages and currents to phasors and then calls
    // phasorsChanged, which refreshes the main window.
    TCircuitCalculationForm(TPhasorArray& phasors, std::function<void()> phasorsChanged,
                            QWidget* parent = nullptr);
    ~TCircuitCalculationForm() override;

    // Draws the diagram now and shows the circuit's impedance and current.
    void RedrawDiagram();
    TPaintBoxEx& Diagram();
    // Shows the circuit of that file; one that cannot be read is reported and changes nothing.
    void OpenCircuitFile(const std::string& fileName);
    // Makes the tree shown the history's start: a circuit named at the program's start is
    // where the user begins, not a step to undo.
    void ResetHistory();

    std::unique_ptr<TCircuitElementGroup> OuterGroup;
    TCustomCircuitElement* SelectedElement = nullptr;
    TCircuitSupply Supply;
    bool ShowElementNames = true;
    bool ShowElementValues = false;
    bool SuppressNextMouseDown = false;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* ACFrequencyEdit;
    QLabel* Label2;
    QCheckBox* ElementNamesCheckBox;
    QCheckBox* ElementValuesCheckBox;
    QLabel* Label3;
    QSpinBox* PaintBoxWidthSpinEdit;
    QLabel* Label4;
    QSpinBox* PaintBoxHeightSpinEdit;
    QLabel* Label5;
    TComplexEditorFrame* ComplexEditorFrame3;
    QToolBar* ToolBar1;
    QToolButton* EditOuterGroupButton;
    QToolButton* EditElementButton;
    QToolButton* DeleteElementButton;
    QToolButton* DeleteAllButton;
    QToolButton* OpenFileButton;
    QToolButton* SaveFileButton;
    QToolButton* SaveAsBitmapButton;
    QToolButton* AnalysisButton;
    TCircuitAnalysisForm* AnalysisForm = nullptr;  // open while shown; follows every redraw
    QScrollArea* ScrollBox1;
    TPaintBoxWidget* PaintBox;
    TComplexEditorFrame* ComplexEditorFrame1;
    TComplexEditorFrame* ComplexEditorFrame2;

    // "Rückgängig" and "Wiederherstellen": one change of the tree back or forward, with the
    // selection that went with it.
    void UndoClick();
    void RedoClick();
    const TSnapshotHistory& History() const { return UndoHistory; }
    QAction* UndoAction;
    QAction* RedoAction;
    QToolButton* UndoButton;
    QToolButton* RedoButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateSettings();
    void CreateToolBar();
    void CreateDiagram();
    void CreateResultFrames();
    void ConnectEvents();
    void PaintDiagram(TPaintBoxEx& surface);
    void FitDiagramSize();
    // Sizes the diagram surface and its widget alike.
    void SetDiagramSize(int width, int height);
    void DiagramMouseDown(int x, int y);
    void SetElementButtons(bool enabled);
    void SelectNone();
    void EditElement();
    void EditOuterGroupButtonClick();
    void DeleteElementButtonClick();
    void DeleteAllButtonClick();
    void OpenFileButtonClick();
    void SaveFileButtonClick();
    void SaveAsBitmapButtonClick();
    void AnalysisButtonClick();
    void ACFrequencyEditChange();
    void SupplyVoltageChange();
    void CreateUndoButtons();
    // The selected element's place in the tree, depth first (-1 for none).
    int SelectionIndex() const;
    // Starts the history with the tree shown; the keys go to the history from now on.
    void StartHistory();
    // Records the tree as a step if it changed; selectionBefore is what undo selects again.
    // Typing on in one field of one element (field not 0) continues the step.
    void CommitStep(const char* caption, int selectionBefore, int field = 0) noexcept;
    void RestoreStep(const TRestoredState& state);
    void UpdateUndoButtons();

    TPhasorArray& Phasors;
    std::function<void()> PhasorsChanged;
    TSnapshotHistory UndoHistory;
};

}  // namespace zeigora
