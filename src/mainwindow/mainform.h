// The program's main window: owner of the phasor list, the selection and the plane view; it
// runs the repaint cycle (recalculate, then draw) and carries every command of its menus and
// tool bars.
#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "history/snapshothistory.h"
#include "mainwindow/clockhands.h"
#include "phasors/phasor.h"
#include "phasors/recalc.h"
#include "plane/planeview.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

namespace zeigora {

class TPaintBoxEx;
class TPaintBoxWidget;
class TPhasorComboBox;
class TStatusPanels;
struct TShiftState;
enum class TMouseButton;

class TMainForm : public QMainWindow {
    Q_OBJECT

    // The document's phasor list. Recalculating it takes time in proportion to its length
    // (files may hold 100 000 phasors), so a repaint recalculates only after a change.
    TPhasorArray PhasorList;
    bool RecalculationDue = true;

  public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The document and the view. The list reads here; it is changed only through EditPhasors.
    const TPhasorArray& Phasors = PhasorList;
    TPlaneView View;
    TPlaneSettings& PlaneSettings() { return View.Settings; }

    // The one way to change the phasor list (records, length, definitions, values): each call
    // makes the next repaint recalculate, and invalidates the drawing. Take it anew after
    // anything that runs the event loop (a dialog): a repaint in between recalculates.
    TPhasorArray& EditPhasors();
    // For a reference taken before a dialog that changed the list through it.
    void PhasorsChanged() { EditPhasors(); }

    // The selected record, or nullptr. Kept as an index, so a change of the list's length can
    // never leave it pointing at freed memory; an index outside the list reads as none.
    const TPhasor* SelectedPhasor() const;
    int SelectedIndex() const { return SelectedIndex_; }
    // The one way to change the selection: enables the phasor commands, sets the combo, repaints.
    // p must be a record of Phasors or nullptr.
    void SelectPhasor(const TPhasor* p);

    bool ScalablePhasors = true;
    bool Dragging = false;
    std::int32_t RootDegree = 2;
    bool PhasorToolBarVisible = true;
    bool GraphicsToolBarVisible = true;
    bool ZoomToolBarVisible = true;

    // The drawing surface and its widget.
    TPaintBoxWidget* PaintBox1 = nullptr;
    TPaintBoxEx& Surface();
    // The repaint cycle into the surface's drawing canvas, now: recalculation (when the list
    // changed since the last one), error list, frame. The paint event runs it; picture export
    // runs it while recording.
    void PaintPlane();
    // Invalidates the drawing: the next paint event runs the repaint cycle. For changes of the
    // view; changes of the list go through EditPhasors.
    void InvalidatePlane();

    // Shows a recalculation's error list and count (status bar panel 7).
    void ShowRecalculation(const TRecalcResult& result);
    // The error list of the last recalculation (status bar popup).
    const std::vector<TErrorEntry>& ErrorEntries() const { return Errors; }
    QMenu* ErrorsPopup = nullptr;

    // Seams for the modal windows and the clock, replaced by tests. Each runs its window
    // modally and returns when it is closed.
    std::function<void(TPhasorArray& phasors, int index, bool rootsMode)> RunPhasorDialog;
    std::function<void(TPlaneSettings& settings)> RunGridSettingsDialog;
    std::function<TClockTime()> ClockSource;
    // The status bar panel's text (cp1252), 0..7.
    std::string StatusText(int panel) const;

    // Commands.
    void NewFileClick();
    void OpenFileButtonClick();
    void SaveFileButtonClick();
    void PrintPictureClick();
    void SaveAsPictureClick();
    void ExitProgramClick();
    void RefreshClick();
    void AntiAliasingClick();
    void Circle1ButtonClick();
    void Circle2ButtonClick();
    void RasterButtonClick();
    void PhasorSettings2Click();
    void ViewSettings2Click();
    void ZoomSettings2Click();
    void GridSettingsButtonClick();
    void NewPhasorClick();
    void EditPhasorClick();
    void DuplicatePhasorClick();
    void DeletePhasorClick();
    void DeleteAllPhasorsClick();
    void SelectedPhasorComboBoxChange(int index);
    void BetaAddPClick();
    void ScaleablePhasorsClick();
    void ActiveClick();
    void ChangeNumberClick();
    void ShowCircleClick();
    void CircuitCalculationClick();
    // What "Öffnen" does with the chosen file, and the circuit window showing a circuit file
    // ("" for the default circuit); for files named on the command line.
    void OpenPhasorFile(const std::string& fileName);
    void OpenCircuitWindow(const std::string& circuitFile);
    // Forgets every step: the list as it is now is what undo goes back to at most (a file
    // named on the command line is where the session starts).
    void RestartHistory();
    void HelpClick();
    void InfoClick();
    void ErrorClick(int phasorIndex);
    void EasterEgg();
    // "Rückgängig" and "Wiederherstellen": one change of the phasor list back or forward.
    void UndoClick();
    void RedoClick();
    const TSnapshotHistory& History() const { return UndoHistory; }

    // Pointer, status bar and zoom.
    void PaintBox1MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void PaintBox1MouseMove(TShiftState shift, int x, int y);
    void PaintBox1MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void PaintBox1Exit();
    void PaintBox1MouseWheelDown();
    void PaintBox1MouseWheelUp();
    // Wheel steps of 120 units each, gathered over events.
    void WheelTurned(int delta);
    void Zoom1ComboBoxChange();
    void Zoom2ComboBoxChange();
    void ZoomIn1ButtonClick();
    void ZoomOut1ButtonClick();
    void ZoomIn2ButtonClick();
    void ZoomOut2ButtonClick();
    void ReIntervalsComboBoxChange();
    void ImIntervalsComboBoxChange();
    void SubIntervalsComboBoxChange();
    void SetHeightButtonClick();
    void SetWidthButtonClick();

    // Clock.
    void HiddenClockButtonClick();
    void SmoothClockButtonClick();
    void Timer1Timer();
    QTimer* Timer1 = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override;

  private:
    // One undo step for the command running in this scope: the step is recorded when the
    // scope ends, if the phasor list (or the roots mode) changed; undo selects again what was
    // selected when the scope began.
    class TUndoStep {
      public:
        TUndoStep(TMainForm& form, const char* caption)
            : Form(form), Caption(caption), Selection(form.SelectedIndex_) {}
        ~TUndoStep() { Form.CommitStep(Caption, Selection); }
        TUndoStep(const TUndoStep&) = delete;
        TUndoStep& operator=(const TUndoStep&) = delete;

      private:
        TMainForm& Form;
        const char* Caption;
        int Selection;
    };

    void CreateActions();
    void CreateUndoActions();
    void CreateMenus();
    void CreatePhasorToolBar();
    void CreateGridToolBar();
    void CreateZoomToolBar();
    void CreateStatusBar();
    void CreateDrawingSurface();
    void FormCreate();
    void CenterOnScreen();

    // An action of the window that runs the handler, with an optional keyboard shortcut.
    QAction* NewAction(const char* objectName, const char* text, void (TMainForm::*handler)(),
                       const QKeySequence& shortcut = {});
    QAction* NewToolButton(QToolBar* bar, const char* objectName, const char* icon,
                           const char* hint, void (TMainForm::*handler)());
    QLabel* NewToolLabel(QToolBar* bar, const char* objectName, const char* text);
    QComboBox* NewToolCombo(QToolBar* bar, const char* objectName, const QStringList& items,
                            const char* text, int width, void (TMainForm::*handler)());

    void FillPhasorComboBox();
    void SetPhasorCommandsEnabled(bool enabled);
    bool RefusedInRootsMode();
    void BuildRootPhasors();
    void RunModal(const std::function<void()>& dialog);
    void ShowErrorsPopup(const QPoint& pos);
    void SetStatusText(int panel, const std::string& text);
    void ShowCoordinates(int x, int y);
    void ZoomComboChange(QComboBox* combo, double& scale, QAction* zoomIn, QAction* zoomOut);
    void ZoomBy(double factor, double& scale, QComboBox* combo);
    void SetToolBarVisible(QToolBar* bar, bool& flag, QAction* menuItem, QAction* popupItem);
    // Recalculates the list if it changed since the last time; refreshes the error list.
    void RecalculateIfDue();
    // The undo history: caption in UTF-8.
    std::string HistoryModePiece() const;
    // Starts the history with the list shown; the keys go to the history from now on.
    void StartHistory();
    void CommitStep(const char* caption, int selectionBefore) noexcept;
    void RestoreStep(const TRestoredState& state);
    void UpdateUndoActions();
    void StopClockForHistory();

    int SelectedIndex_ = -1;
    // The last frame's segments belong to the list as it is now.
    bool FrameCurrent = false;
    std::vector<TErrorEntry> Errors;
    std::mt19937 Random;
    int WheelDelta = 0;
    int ClockTicks = 0;
    // A drag moved the selected phasor since the button went down.
    bool DragMoved = false;
    TSnapshotHistory UndoHistory;

    // Menu items.
    QAction* NewFile = nullptr;
    QAction* OpenFile = nullptr;
    QAction* SaveFile = nullptr;
    QAction* PrintPicture = nullptr;
    QAction* SaveAsPicture = nullptr;
    QAction* ExitProgram = nullptr;
    QAction* Refresh = nullptr;
    QAction* AntiAliasing = nullptr;
    QAction* SetHeight = nullptr;
    QAction* SetWidth = nullptr;
    QAction* PhasorSettings2 = nullptr;
    QAction* ViewSettings2 = nullptr;
    QAction* ZoomSettings2 = nullptr;
    QAction* GridSettings = nullptr;
    QAction* NewPhasor = nullptr;
    QAction* EditPhasor = nullptr;
    QAction* DuplicatePhasor = nullptr;
    QAction* DeletePhasor = nullptr;
    QAction* DeleteAllPhasors = nullptr;
    QAction* Undo = nullptr;
    QAction* Redo = nullptr;
    QAction* BetaAddP = nullptr;
    QAction* ScaleablePhasors = nullptr;
    QAction* Active = nullptr;
    QAction* ChangeNumber = nullptr;
    QAction* ShowCircle = nullptr;
    QAction* CircuitCalculation = nullptr;
    QAction* Help = nullptr;
    QAction* Info = nullptr;
    // The tool bars' popup menu items.
    QAction* PhasorSettings1 = nullptr;
    QAction* ViewSettings1 = nullptr;
    QAction* ZoomSettings1 = nullptr;

    // Tool bars and their controls.
    QToolBar* PhasorToolBar = nullptr;
    QToolBar* GridToolBar = nullptr;
    QToolBar* ZoomToolBar = nullptr;
    QAction* NewFileButton = nullptr;
    QAction* OpenFileButton = nullptr;
    QAction* SaveFileButton = nullptr;
    QAction* NewPhasorButton = nullptr;
    QAction* EditPhasorButton = nullptr;
    QAction* DuplicatePhasorButton = nullptr;
    QAction* DeletePhasorButton = nullptr;
    QAction* DeleteAllPhasorsButton = nullptr;
    QAction* UndoButton = nullptr;
    QAction* RedoButton = nullptr;
    QAction* Circle1Button = nullptr;
    QAction* Circle2Button = nullptr;
    QAction* RefreshButton = nullptr;
    TPhasorComboBox* SelectedPhasorComboBox = nullptr;
    QAction* SaveAsPictureButton = nullptr;
    QAction* RasterButton = nullptr;
    QComboBox* ReIntervalsComboBox = nullptr;
    QComboBox* ImIntervalsComboBox = nullptr;
    QComboBox* SubIntervalsComboBox = nullptr;
    QAction* GridSettingsButton = nullptr;
    QAction* SetHeightButton = nullptr;
    QAction* SetWidthButton = nullptr;
    QComboBox* Zoom1ComboBox = nullptr;
    QAction* ZoomIn1Button = nullptr;
    QAction* ZoomOut1Button = nullptr;
    QLabel* Zoom2Label = nullptr;
    QComboBox* Zoom2ComboBox = nullptr;
    QAction* ZoomIn2Button = nullptr;
    QAction* ZoomOut2Button = nullptr;
    QAction* HiddenClockButton = nullptr;
    QAction* SmoothClockButton = nullptr;

    TStatusPanels* StatusBarPanels = nullptr;
    std::vector<QLabel*> StatusPanels;
};

}  // namespace zeigora
