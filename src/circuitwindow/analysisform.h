// The window "Schaltungsanalyse": the phasor diagram, the locus and the frequency response of
// the element selected in the circuit calculation window (the whole circuit when nothing is),
// following every change there. Sweeps run in the background.
#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "circuit/circuitphasors.h"
#include "circuit/circuitsweep.h"
#include "circuitplot/phasordiagram.h"
#include "circuitplot/sweepplot.h"
#include "phasors/phasor.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;

namespace zeigora {

class TPaintBoxWidget;

// What the window reads from and does to the circuit calculation window.
struct TAnalysisLinks {
    std::function<const TCircuitElementGroup*()> Circuit;
    std::function<const TCustomCircuitElement*()> Selected;  // nullptr: the whole circuit
    std::function<TCircuitSupply()> Supply;
    std::function<double()> Frequency;         // in hertz, as the window's field gives it
    std::function<void(double)> SetFrequency;  // writes the frequency field
    TPhasorArray* Phasors = nullptr;
    std::function<void()> PhasorsChanged;
};

class TCircuitAnalysisForm : public QDialog {
  public:
    explicit TCircuitAnalysisForm(TAnalysisLinks links, QWidget* parent = nullptr);
    ~TCircuitAnalysisForm() override;

    // Takes over the circuit window's current state: element, tree, frequency, voltage.
    void Refresh();
    // True while a sweep runs in the background.
    bool Busy() const;

    enum TView { vwPhasors = 0, vwLocus = 1, vwResponse = 2 };

    QLabel* ElementLabel;
    QComboBox* QuantityComboBox;
    QComboBox* ParameterComboBox;
    QLineEdit* FromEdit;
    QLineEdit* ToEdit;
    QSpinBox* PointsSpinEdit;
    QCheckBox* LinearCheckBox;
    QCheckBox* DecibelCheckBox;
    QTabWidget* Views;
    TPaintBoxWidget* PhasorBox;
    TPaintBoxWidget* LocusBox;
    TPaintBoxWidget* ResponseBox;
    QLabel* ResonanceLabel;
    QPushButton* HandOverButton;
    QPushButton* SavePictureButton;
    QPushButton* SaveTableButton;
    QStatusBar* StatusBar;

    // The last finished sweep and what it was made of.
    const TSweepResult& Sweep() const { return Result; }
    int ElementIndex() const { return Element; }
    const TGroupPhasors& Phasors() const { return Diagram; }

    // The status line's text for a sweep value: "f = 1 kHz   Z = 10 + j5 Ohm = 11,18 Ohm ∠
    // 26,565°".
    QString ReadOut(double x, const TComplex& value) const;

    // Draws one view onto a surface (the window's, or a picture being exported).
    void PaintView(TView view, TPaintBoxEx& surface);

    // Writes the last sweep as a table: tab-separated with '.', or with csv semicolons and the
    // decimal comma; saved complete or not at all. 0, or the system's error number.
    int WriteTable(const std::string& fileName, bool csv) const;

  private:
    void CreateControls();
    void ConnectEvents();
    void FillParameters(const std::vector<TCircuitNode>& nodes,
                        const std::vector<std::string>& labels);
    void ParameterChanged();
    void StartSweep();
    void SweepFinished();
    void UpdateResonances();
    void PointerMoved(TView view, int x, int y);
    void PointerPressed(TView view, int x, int y);
    void HandOverClick();
    void SavePictureClick();
    void SaveTableClick();
    TSweepQuantity Quantity() const;
    int Vary() const;
    std::string XUnit() const;
    std::string Title(TView view) const;
    TPaintBoxWidget* Box(TView view) const;

    TAnalysisLinks Links;
    int Element = 0;
    std::string ElementText;  // cp1252 label of the shown element
    std::vector<std::string> Labels;
    std::vector<std::pair<int, std::string>> ParameterEntries;  // what the list shows
    TGroupPhasors Diagram;
    TPhasorDiagramView DiagramView;
    TSweepPlotGeometry LocusGeometry, ResponseGeometry;
    std::shared_ptr<const TCircuitSweeper> Sweeper;  // of the last finished sweep
    std::shared_ptr<const TCircuitSweeper> Running;
    TSweepResult Result;
    bool HaveResult = false;
    bool InFlight = false;  // started and its result not yet taken over
    bool Again = false;     // something changed while a sweep ran
    bool AntiAliasing = true;
    QFutureWatcher<TSweepResult>* Watcher;
};

}  // namespace zeigora
