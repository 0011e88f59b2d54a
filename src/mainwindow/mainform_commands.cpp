// The main window's document commands, the selection and the repaint cycle.
#include <QAction>
#include <QCloseEvent>
#include <QTimer>
#include <QToolBar>
#include <random>

#include "circuitwindow/circuitc.h"
#include "complex/cp1252text.h"
#include "dialogs/helppage.h"
#include "dialogs/paintboxwidget.h"
#include "dialogs/pictureexport.h"
#include "mainwindow/mainform.h"
#include "mainwindow/phasorcombo.h"
#include "mainwindow/printcfg.h"
#include "phasors/phasorfile.h"
#include "plane/frame.h"
#include "platform/cp1252.h"
#include "platform/userdialogs.h"

namespace zeigora {

namespace {

constexpr char PhasorFileFilter[] = "Zeigora Dateien (*.zgf)|*.zgf";
constexpr char PhasorFileExt[] = "*.zgf";
constexpr auto& OpenWarningText =
    "Warnung: alle Zeiger werden gelöscht, wenn Sie Zeiger aus einer Datei laden. "
    "Fortfahren?"_cp;
constexpr auto& NoPhasorSelectedText = "Kein Zeiger ausgewählt."_cp;
constexpr auto& RootsRefusalText =
    "Diese Funktion ist bei der Darstellung mehrerer Lösungen nicht verfügbar."_cp;
constexpr auto& DeleteQuestionText = "Sind Sie sicher, dass Sie diesen Zeiger löschen wollen?"_cp;
constexpr auto& DeleteAllQuestionText = "Sind Sie sicher, dass Sie alle Zeiger löschen wollen?"_cp;
constexpr char HelpErrorText[] =
    "Fehler beim Starten der Hilfe. Bitte klicken Sie die Datei index.html im Ordner Doku "
    "doppelt.";
constexpr auto& InfoText =
    "Zeigora 3.0 Public Alpha\n"
    "\n"
    "Rechnen mit komplexen Zahlen in der Gauß'schen Zahlenebene.\n"
    "Entwurf, Programmierung und Symbole: das Zeigora-Team.\n"
    "Dank an alle, die die Vorabversion ausprobieren."_cp;

}  // namespace

// ---- selection and repaint ----

const TPhasor* TMainForm::SelectedPhasor() const {
    if (SelectedIndex_ < 0 || SelectedIndex_ >= static_cast<int>(Phasors.size())) return nullptr;
    return &Phasors[static_cast<std::size_t>(SelectedIndex_)];
}

void TMainForm::SelectPhasor(const TPhasor* p) {
    const int index = p ? IndexOfPhasor(p, Phasors) : -1;
    SetPhasorCommandsEnabled(index >= 0);
    SelectedIndex_ = index;
    SelectedPhasorComboBox->SetItemIndex(index + 1);
    InvalidatePlane();
}

void TMainForm::SetPhasorCommandsEnabled(bool enabled) {
    for (QAction* command : {DeletePhasor, EditPhasor, DuplicatePhasor, DeletePhasorButton,
                             EditPhasorButton, DuplicatePhasorButton})
        command->setEnabled(enabled);
}

void TMainForm::FillPhasorComboBox() {
    SelectedPhasorComboBox->Fill(Phasors, "Kein");
}

void TMainForm::InvalidatePlane() {
    FrameCurrent = false;
    PaintBox1->update();
}

TPhasorArray& TMainForm::EditPhasors() {
    RecalculationDue = true;
    InvalidatePlane();
    return PhasorList;
}

void TMainForm::ShowRecalculation(const TRecalcResult& result) {
    Errors = result.Errors;
    SetStatusText(7, result.StatusText);
}

void TMainForm::RecalculateIfDue() {
    if (!RecalculationDue) return;
    TRecalcResult result = RecalculateAll(PhasorList);
    RecalculationDue = false;
    ShowRecalculation(result);
}

void TMainForm::PaintPlane() {
    RecalculateIfDue();
    RenderPlane(Surface(), View, PhasorList, SelectedPhasor());
    FrameCurrent = true;
}

bool TMainForm::RefusedInRootsMode() {
    if (!View.Settings.RootsMode) return false;
    UserDialogs().ShowError(RootsRefusalText);
    return true;
}

// The clock must not replace the list under a dialog that edits one of its records.
void TMainForm::RunModal(const std::function<void()>& dialog) {
    const bool clockRunning = Timer1->isActive();
    Timer1->stop();
    dialog();
    if (clockRunning) Timer1->start();
}

// ---- file commands ----

void TMainForm::NewFileClick() {
    const TUndoStep step(*this, "Neue Datei");
    TPhasorArray& list = EditPhasors();
    list.clear();
    AppendPhasor(list);
    AppendPhasor(list);
    list[0].Name = "Zeiger1";
    list[0].Color = 0x0000FF;
    list[0].Value = MakeComplex(2.0, -1.0);
    list[1].Name = "Zeiger2";
    list[1].Color = 0xFF0000;
    list[1].Value = MakeComplex(-1.0, 1.0);
    FillPhasorComboBox();
    SelectPhasor(nullptr);
}

void TMainForm::OpenFileButtonClick() {
    if (!UserDialogs().AskYesNo(OpenWarningText)) return;
    const auto choice = UserDialogs().GetOpenFileName("Öffnen"_cp, PhasorFileFilter, PhasorFileExt);
    if (choice)
        OpenPhasorFile(choice->FileName);
    else
        FillPhasorComboBox();
    SelectPhasor(nullptr);
    InvalidatePlane();
}

void TMainForm::OpenPhasorFile(const std::string& fileName) {
    const TUndoStep step(*this, "Öffnen");
    // A file that cannot be read, or is no phasor file, leaves the phasors as they were.
    const TPhasorFileResult result = LoadPhasorsFromFile(EditPhasors(), fileName);
    if (!result.Ok()) UserDialogs().ShowError(result.Message);
    FillPhasorComboBox();
    SelectPhasor(nullptr);
    InvalidatePlane();
}

void TMainForm::SaveFileButtonClick() {
    const auto choice =
        UserDialogs().GetSaveFileName("Speichern unter", PhasorFileFilter, PhasorFileExt, false);
    if (!choice) return;
    const TPhasorFileResult result = SavePhasorsToFile(Phasors, choice->FileName);
    if (!result.Ok()) UserDialogs().ShowError(result.Message);
}

void TMainForm::PrintPictureClick() {
    TPrinterConfigForm form(
        Surface(), [this] { PaintPlane(); }, this);
    RunModal([&form] { form.exec(); });
    InvalidatePlane();
}

// No selection highlight in the picture; vector pictures are recorded without antialiasing.
void TMainForm::SaveAsPictureClick() {
    TPictureExportHooks hooks;
    hooks.ClearSelection = [this] { SelectPhasor(nullptr); };
    hooks.Redraw = [this] { PaintPlane(); };
    hooks.AntiAliasing = &View.Settings.AntiAliasing;
    SavePictureAs(Surface(), hooks);
}

void TMainForm::ExitProgramClick() {
    close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    event->accept();
}

// ---- view commands ----

// Recalculates too, though nothing should need it.
void TMainForm::RefreshClick() {
    PhasorsChanged();
}

void TMainForm::AntiAliasingClick() {
    View.Settings.AntiAliasing = AntiAliasing->isChecked();
    InvalidatePlane();
}

void TMainForm::Circle1ButtonClick() {
    View.Settings.UnitCircle1 = Circle1Button->isChecked();
    InvalidatePlane();
}

void TMainForm::Circle2ButtonClick() {
    View.Settings.UnitCircle2 = Circle2Button->isChecked();
    InvalidatePlane();
}

void TMainForm::RasterButtonClick() {
    View.Settings.GridVisible = RasterButton->isChecked();
    InvalidatePlane();
}

void TMainForm::SetToolBarVisible(QToolBar* bar, bool& flag, QAction* menuItem,
                                  QAction* popupItem) {
    flag = !flag;
    bar->setVisible(flag);
    menuItem->setChecked(flag);
    popupItem->setChecked(flag);
}

void TMainForm::PhasorSettings2Click() {
    SetToolBarVisible(PhasorToolBar, PhasorToolBarVisible, PhasorSettings2, PhasorSettings1);
}

void TMainForm::ViewSettings2Click() {
    SetToolBarVisible(GridToolBar, GraphicsToolBarVisible, ViewSettings2, ViewSettings1);
}

void TMainForm::ZoomSettings2Click() {
    SetToolBarVisible(ZoomToolBar, ZoomToolBarVisible, ZoomSettings2, ZoomSettings1);
}

void TMainForm::GridSettingsButtonClick() {
    RunModal([this] { RunGridSettingsDialog(View.Settings); });
    InvalidatePlane();
}

// ---- phasor commands ----

void TMainForm::NewPhasorClick() {
    const TUndoStep step(*this, "Neuer Zeiger");
    Dragging = false;
    if (RefusedInRootsMode()) return;
    TPhasorArray& list = EditPhasors();
    const std::size_t index = AppendPhasor(list);
    FillPhasorComboBox();
    list[index].Name = "Zeiger" + std::to_string(list.size());
    list[index].Color = std::uniform_int_distribution<std::uint32_t>(0, 0xFFFFFF)(Random);
    SelectPhasor(&list[index]);
    RunModal([this, index] {
        RunPhasorDialog(EditPhasors(), static_cast<int>(index), View.Settings.RootsMode);
    });
    PhasorsChanged();
    FillPhasorComboBox();
    SelectPhasor(SelectedPhasor());
}

void TMainForm::EditPhasorClick() {
    const TUndoStep step(*this, "Zeiger bearbeiten");
    Dragging = false;
    if (!SelectedPhasor()) {
        UserDialogs().ShowError(NoPhasorSelectedText);
        return;
    }
    const int comboIndex = SelectedPhasorComboBox->currentIndex();
    const int index = SelectedIndex_;
    RunModal([this, index] { RunPhasorDialog(EditPhasors(), index, View.Settings.RootsMode); });
    PhasorsChanged();
    FillPhasorComboBox();
    SelectedPhasorComboBox->SetItemIndex(comboIndex);
}

void TMainForm::DuplicatePhasorClick() {
    const TUndoStep step(*this, "Zeiger duplizieren");
    if (RefusedInRootsMode()) return;
    const TPhasor* selected = SelectedPhasor();
    if (!selected) return;
    // Copied before the list grows: growing may move every record.
    TPhasor copy = *selected;
    copy.Name = "KopieVon" + selected->Name.Str();
    EditPhasors().push_back(copy);
    FillPhasorComboBox();
    SelectPhasor(&Phasors.back());
}

void TMainForm::DeletePhasorClick() {
    const TUndoStep step(*this, "Zeiger löschen");
    Dragging = false;
    if (RefusedInRootsMode()) return;
    if (!SelectedPhasor()) return;
    if (!UserDialogs().AskYesNo(DeleteQuestionText)) return;
    DeletePhasorAt(EditPhasors(), static_cast<std::size_t>(SelectedIndex_));
    FillPhasorComboBox();
    SelectPhasor(nullptr);
}

void TMainForm::DeleteAllPhasorsClick() {
    const TUndoStep step(*this, "Alle löschen");
    Dragging = false;
    if (RefusedInRootsMode()) return;
    if (!UserDialogs().AskYesNo(DeleteAllQuestionText)) return;
    EditPhasors().clear();
    FillPhasorComboBox();
    SelectPhasor(nullptr);
}

void TMainForm::SelectedPhasorComboBoxChange(int index) {
    if (index >= 1 && index <= static_cast<int>(Phasors.size()))
        SelectPhasor(&Phasors[static_cast<std::size_t>(index - 1)]);
    else
        SelectPhasor(nullptr);
    InvalidatePlane();
}

void TMainForm::ErrorClick(int phasorIndex) {
    if (phasorIndex < 0 || phasorIndex >= static_cast<int>(Phasors.size())) return;
    SelectPhasor(&Phasors[static_cast<std::size_t>(phasorIndex)]);
    EditPhasorClick();
}

// ---- extras and help ----

void TMainForm::BetaAddPClick() {
    View.Settings.GraphicalAddition = BetaAddP->isChecked();
    InvalidatePlane();
}

void TMainForm::ScaleablePhasorsClick() {
    ScalablePhasors = ScaleablePhasors->isChecked();
    if (!ScalablePhasors) Dragging = false;
}

// The element dialog appends voltages and currents; the combo and the plane follow at once.
void TMainForm::CircuitCalculationClick() {
    OpenCircuitWindow({});
}

void TMainForm::OpenCircuitWindow(const std::string& circuitFile) {
    const auto refresh = [this] {
        PhasorsChanged();
        FillPhasorComboBox();
        CommitStep("Übernahme aus der Schaltung", SelectedIndex_);
    };
    TCircuitCalculationForm form(EditPhasors(), refresh, this);
    if (!circuitFile.empty()) {
        form.OpenCircuitFile(circuitFile);
        form.ResetHistory();
    }
    RunModal([&form] { form.exec(); });
    // The combo was refilled on "Kein"; show the selection again.
    SelectPhasor(SelectedPhasor());
}

void TMainForm::HelpClick() {
    const std::string page = FindHelpPage();
    if (page.empty() || !UserDialogs().OpenDocument(page)) UserDialogs().ShowError(HelpErrorText);
}

void TMainForm::InfoClick() {
    UserDialogs().ShowInformation(InfoText);
}

}  // namespace zeigora
