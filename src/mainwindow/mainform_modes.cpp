// Roots mode and the hidden clock: both replace the phasor list.
#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>
#include <QTimer>

#include "complex/cp1252text.h"
#include "complex/numtext.h"
#include "mainwindow/mainform.h"
#include "mainwindow/numberformat.h"
#include "mainwindow/phasorcombo.h"
#include "mainwindow/rootphasors.h"
#include "platform/cp1252.h"
#include "platform/userdialogs.h"

namespace zeigora {

namespace {

constexpr auto& RootsWarningText =
    "Warnung: diese Funktion berechnet die Lösungen der n.ten Wurzel einer einzigen "
    "komplexen Zahl. Es werden daher alle Zeiger ausgenommen des ersten gelöscht. "
    "Fortfahren?"_cp;
constexpr auto& DegreeErrorText = "Ungültige Eingabe. Grad wird auf 2 zurückgesetzt."_cp;

}  // namespace

// ---- roots ----

void TMainForm::BuildRootPhasors() {
    zeigora::BuildRootPhasors(EditPhasors(), RootDegree);
}

void TMainForm::ActiveClick() {
    const TUndoStep step(*this, Active->isChecked() ? "Mehrere Lösungen einschalten"
                                                    : "Mehrere Lösungen ausschalten");
    // The check mark has already turned; it was off when the mode is about to start.
    if (Active->isChecked() && !UserDialogs().AskYesNo(RootsWarningText, TQuestionIcon::Warning)) {
        Active->setChecked(false);
        return;
    }
    View.Settings.RootsMode = Active->isChecked();
    TPhasorArray& list = EditPhasors();
    if (!list.empty()) {
        list.resize(1);
        list[0].Scale = 0;
    }
    BuildRootPhasors();
    FillPhasorComboBox();
    SelectPhasor(nullptr);
}

void TMainForm::ChangeNumberClick() {
    const TUndoStep step(*this, "Grad ändern");
    const auto text = UserDialogs().InputBox("Eingabe des Grades",
                                             "Bitte geben Sie eine Zahl zwischen 2 und 16 ein", "");
    int degree = 0;
    if (text && TryStrToInt(*text, degree) && degree >= MinRootDegree && degree <= MaxRootDegree) {
        RootDegree = degree;
    } else {
        UserDialogs().ShowError(DegreeErrorText);
        RootDegree = MinRootDegree;
    }
    ChangeNumber->setText(FromCp1252("Grad ändern... ("_cp + std::to_string(RootDegree) + ")"));
    if (!View.Settings.RootsMode) return;
    BuildRootPhasors();
    FillPhasorComboBox();
    SelectPhasor(nullptr);
}

void TMainForm::ShowCircleClick() {
    View.Settings.ShowSolutionCircle = ShowCircle->isChecked();
    InvalidatePlane();
}

// ---- clock ----

void TMainForm::EasterEgg() {
    HiddenClockButton->setVisible(true);
    SmoothClockButton->setVisible(true);
}

void TMainForm::HiddenClockButtonClick() {
    if (Timer1->isActive()) {
        Timer1->stop();
        CommitStep("Uhr ausschalten", SelectedIndex_);
    } else {
        ClockTicks = 0;
        Timer1->start();
    }
}

void TMainForm::SmoothClockButtonClick() {
    Timer1->setInterval(SmoothClockButton->isChecked() ? 100 : 1000);
}

void TMainForm::Timer1Timer() {
    const TClockTime time = ClockSource ? ClockSource() : CurrentClockTime();
    // From the second tick on the list is the clock's own and a hand picked with the mouse stays
    // selected; a selection from before the first tick belongs to a list that is gone.
    const bool keepSelection = ClockTicks > 0 && SelectedIndex_ >= 0 && SelectedIndex_ < 3;
    // Switching the clock on is one step, taken with its first tick; the ticks after it are none.
    const int selectionBefore = SelectedIndex_;
    const bool firstTick = ClockTicks == 0;
    ++ClockTicks;
    BuildClockHands(EditPhasors(), time, SmoothClockButton->isChecked());
    FillPhasorComboBox();
    if (!keepSelection) {
        SelectedIndex_ = -1;
        SetPhasorCommandsEnabled(false);
    }
    View.Settings.UnitCircle1 = true;
    Circle1Button->setChecked(true);
    View.Settings.GraphicalAddition = false;
    BetaAddP->setChecked(false);
    View.Settings.ShowNumbers = false;
    resize(608, 545);
    {
        const QSignalBlocker blocker(Zoom1ComboBox);
        Zoom1ComboBox->setEditText(FromCp1252(std::string("0") + DecimalSeparator() + "5"));
    }
    Zoom1ComboBoxChange();
    if (firstTick) CommitStep("Uhr einschalten", selectionBefore);
}

}  // namespace zeigora
