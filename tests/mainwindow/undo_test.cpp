// "Rückgängig" and "Wiederherstellen" of the main window, driven through the real commands, the
// real phasor dialog and scripted answers.
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>
#include <random>

#include "circuitwindow/circuitc.h"
#include "circuitwindow/elemprop.h"
#include "mainwindow/commandline.h"
#include "mainwindow/mainwindow_support.h"

namespace zeigora {
namespace {

using namespace test;

// What the user does in the phasor dialog before OK or Cancel.
struct TDialogAnswer {
    std::string Name;
    std::string Definition;
    bool ToggleVisible = false;
    bool Ok = true;
};

class MainUndoTest : public TMainWindowTest {
  protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        // The real dialog, answered by the test: typed into, then OK or Cancel.
        Form->RunPhasorDialog = [this](TPhasorArray& phasors, int index, bool roots) {
            TPhasorPropertiesForm dialog(phasors, index, roots, Form.get());
            dialog.show();
            const TDialogAnswer answer = NextAnswer;
            if (!answer.Name.empty()) {
                dialog.PhasorNameEdit->selectAll();
                QTest::keyClicks(dialog.PhasorNameEdit, FromCp1252(answer.Name));
            }
            dialog.DefEdit->selectAll();
            QTest::keyClick(dialog.DefEdit, Qt::Key_Delete);
            QTest::keyClicks(dialog.DefEdit, FromCp1252(answer.Definition));
            if (answer.ToggleVisible) dialog.PhasorVisibleCheckBox->click();
            (answer.Ok ? dialog.OKButton : dialog.CancelButton)->click();
        };
    }

    // What "Speichern unter..." writes for the list as the window shows it.
    std::string Saved() {
        Frame();
        return PhasorsToBytes(Form->Phasors);
    }
    // The file and the roots mode with its degree.
    std::string State() {
        return Saved() + (Form->View.Settings.RootsMode ? "+" : "-") +
               std::to_string(Form->RootDegree);
    }
    std::string SavedThroughTheCommand(const char* name) {
        Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{InFolder(name), 1});
        Action("SaveFile")->trigger();
        return ReadBytes(InFolder(name));
    }
    std::string Text(const char* action) const { return Action(action)->text().toStdString(); }
    // A press on the tip of a drawn phasor, a move and the release. The press selects.
    void Drag(std::mt19937& rng, int& selectedBefore) {
        Frame();
        const TDrawnPhasorArray& drawn = Form->View.DrawnPhasors;
        if (drawn.empty()) return;
        const TDrawnPhasor& tip = drawn[rng() % drawn.size()];
        Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(tip.X2, tip.Y2));
        selectedBefore = Form->SelectedIndex();
        for (int i = 0; i < 3; ++i)
            Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
                 QPoint(int(rng() % 600), int(rng() % 400)));
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(0, 0));
    }
    // The window agrees with itself: combo entries, its index and the commands' enabling.
    void ExpectConsistent() {
        auto* combo = Form->findChild<QComboBox*>("SelectedPhasorComboBox");
        ASSERT_EQ(combo->count(), static_cast<int>(Form->Phasors.size()) + 1);
        for (std::size_t i = 0; i < Form->Phasors.size(); ++i)
            EXPECT_EQ(ToCp1252(combo->itemText(int(i) + 1)), Form->Phasors[i].Name.Str());
        EXPECT_EQ(combo->currentIndex(), Form->SelectedIndex() + 1);
        EXPECT_EQ(Action("EditPhasor")->isEnabled(), Form->SelectedPhasor() != nullptr);
        EXPECT_EQ(Action("Active")->isChecked(), Form->View.Settings.RootsMode);
        EXPECT_EQ(Action("ChangeNumber")->text(),
                  QString::fromUtf8("Grad ändern... (%1)").arg(Form->RootDegree));
    }
    void WriteFile(const char* name, std::uint32_t seed) {
        TPhasorArray list;
        std::mt19937 rng(seed);
        for (int i = 0; i < 3; ++i) {
            AppendPhasor(list);
            list[i].Name = "F" + std::to_string(rng() % 100);
            list[i].Color = rng() & 0xFFFFFF;
        }
        list[2].Definition = list[0].Name.Str() + "*2";
        ASSERT_TRUE(SavePhasorsToFile(list, InFolder(name)).Ok());
    }
    // One random command as the user gives it, with the answers it needs; selectedBefore
    // becomes the selection the command starts from.
    void RandomCommand(std::mt19937& rng, int& selectedBefore) {
        const bool roots = Form->View.Settings.RootsMode;
        selectedBefore = Form->SelectedIndex();
        const char* const names[] = {"A", "Zeiger1", "Neu7"};
        const char* const definitions[] = {"", "", "Zeiger1*2", "Zeiger2+1j", "(", "A-1"};
        NextAnswer = {rng() % 3 ? names[rng() % 3] : "", definitions[rng() % 6], rng() % 4 == 0,
                      rng() % 4 != 0};
        const auto refused = [&] {
            if (roots) Dialogs.ExpectError(RootsRefusal);
            return roots;
        };
        const auto command = rng() % 11;
        SCOPED_TRACE(command);
        switch (command) {
            case 0:
                refused();
                Action("NewPhasorButton")->trigger();
                break;
            case 1:
            case 10:
                // Without a selection the command is disabled.
                Action("EditPhasor")->trigger();
                break;
            case 2:
                if (!Form->SelectedPhasor()) break;
                refused();
                Action("DuplicatePhasor")->trigger();
                break;
            case 3:
                if (!Form->SelectedPhasor()) break;
                if (!refused()) Dialogs.ExpectYesNo(DeleteQuestion, rng() % 4 != 0);
                Action("DeletePhasor")->trigger();
                break;
            case 4:
                if (!refused()) Dialogs.ExpectYesNo(DeleteAllQuestion, rng() % 3 == 0);
                Action("DeleteAllPhasorsButton")->trigger();
                break;
            case 5:
            case 6:
                Drag(rng, selectedBefore);
                break;
            case 7: {
                const bool yes = rng() % 4 != 0;
                Dialogs.ExpectYesNo(OpenQuestion, yes);
                const bool chosen = rng() % 4 != 0;
                const QString file = Folder.filePath(rng() % 2 ? "a.zgf" : "b.zgf");
                if (yes && chosen)
                    Dialogs.ExpectFile(TDialogKind::OpenFile, TFileChoice{file.toStdString(), 1});
                if (yes && !chosen) Dialogs.ExpectFile(TDialogKind::OpenFile, std::nullopt);
                Action("OpenFileButton")->trigger();
                break;
            }
            case 8:
                Action("NewFileButton")->trigger();
                break;
            case 9:
                if (!roots) Dialogs.ExpectYesNo(RootsQuestion, rng() % 4 != 0);
                Action("Active")->trigger();
                break;
            default:
                Dialogs.ExpectInput(DegreePrompt, std::to_string(2 + rng() % 4));
                Action("ChangeNumber")->trigger();
                break;
        }
        Dialogs.VerifyAllShown();
    }

    TDialogAnswer NextAnswer;
};

// Undoing a random session step by step gives every state back as it was saved, selection,
// combo and roots mode included; redoing it gives every later one.
TEST_F(MainUndoTest, RandomSessionsUndoToTheStartAndRedoToTheEnd) {
    WriteFile("a.zgf", 1);
    WriteFile("b.zgf", 2);
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        Action("NewFile")->trigger();
        const std::string start = SavedThroughTheCommand("start.zgf");
        while (Form->History().CanUndo())
            Action("Undo")->trigger();
        std::vector<std::string> states{State()};
        std::vector<std::string> errors{Form->StatusText(7)};
        std::vector<int> selections{Form->SelectedIndex()};
        for (int command = 0; command < 40; ++command) {
            const std::size_t steps = Form->History().UndoableSteps();
            const int count = static_cast<int>(Form->Phasors.size());
            Form->SelectedPhasorComboBoxChange(static_cast<int>(rng() % (count + 1)));
            int selected = -1;
            RandomCommand(rng, selected);
            const std::string now = State();
            if (Form->History().UndoableSteps() == steps) {
                ASSERT_TRUE(now == states.back()) << "no step for a change, command " << command;
                continue;
            }
            ASSERT_TRUE(now != states.back()) << "a step without a change, command " << command;
            selections.back() = selected;
            states.push_back(now);
            errors.push_back(Form->StatusText(7));
            selections.push_back(Form->SelectedIndex());
        }
        const std::string end = SavedThroughTheCommand("end.zgf");
        for (std::size_t i = states.size() - 1; i > 0; --i) {
            ASSERT_TRUE(Action("UndoButton")->isEnabled());
            Action("Undo")->trigger();
            ASSERT_TRUE(State() == states[i - 1]) << i;
            EXPECT_EQ(Form->StatusText(7), errors[i - 1]);
            EXPECT_EQ(Form->SelectedIndex(), selections[i - 1]);
            ExpectConsistent();
        }
        EXPECT_FALSE(Action("Undo")->isEnabled());
        EXPECT_TRUE(SavedThroughTheCommand("undone.zgf") == start);
        for (std::size_t i = 1; i < states.size(); ++i) {
            Action("RedoButton")->trigger();
            ASSERT_TRUE(State() == states[i]) << i;
            ExpectConsistent();
        }
        EXPECT_FALSE(Action("Redo")->isEnabled());
        EXPECT_TRUE(SavedThroughTheCommand("redone.zgf") == end);
    }
}

TEST_F(MainUndoTest, CaptionsNameTheStepAndCancelLeavesNone) {
    EXPECT_EQ(Text("Undo"), UndoCaption);
    EXPECT_FALSE(Action("Undo")->isEnabled());
    EXPECT_FALSE(Action("RedoButton")->isEnabled());
    Form->SelectPhasor(&Form->Phasors[1]);
    NextAnswer = {"Anders", "Zeiger1*3", true, false};
    Action("EditPhasor")->trigger();
    EXPECT_FALSE(Action("Undo")->isEnabled());
    NextAnswer.Ok = true;
    Action("EditPhasorButton")->trigger();
    EXPECT_EQ(Text("Undo"), UndoCaption + ": Zeiger bearbeiten");
    EXPECT_EQ(Action("UndoButton")->toolTip(), Action("Undo")->text());

    Dialogs.ExpectYesNo(DeleteAllQuestion, true);
    Action("DeleteAllPhasors")->trigger();
    EXPECT_EQ(Text("UndoButton"), UndoCaption + ": Alle l\xC3\xB6schen");
    // The selection of before the command comes back with the list.
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->Phasors.size(), 2u);
    EXPECT_EQ(Form->SelectedIndex(), 1);
    EXPECT_EQ(Text("Redo"), "Wiederherstellen: Alle l\xC3\xB6schen");
    EXPECT_EQ(Text("Undo"), UndoCaption + ": Zeiger bearbeiten");

    WriteFile("a.zgf", 3);
    Dialogs.ExpectYesNo(OpenQuestion, true);
    Dialogs.ExpectFile(TDialogKind::OpenFile, TFileChoice{InFolder("a.zgf"), 1});
    Action("OpenFile")->trigger();
    EXPECT_EQ(Text("Undo"), UndoCaption +
                                ": \xC3\x96"
                                "ffnen");
    EXPECT_FALSE(Action("Redo")->isEnabled());
    EXPECT_EQ(Text("Redo"), "Wiederherstellen");
    // Answering the question with Ja and cancelling the file dialog changes no phasor.
    Dialogs.ExpectYesNo(OpenQuestion, true);
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::OpenFile, std::nullopt, false));
    Action("OpenFileButton")->trigger();
    EXPECT_EQ(Form->History().UndoableSteps(), 2u);
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Form->Phasors.size(), 3u);
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(Form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Form->Phasors.size(), 3u);
    // Opening a file by its name is a step too.
    WriteFile("b.zgf", 4);
    const std::size_t steps = Form->History().UndoableSteps();
    Form->OpenPhasorFile(InFolder("b.zgf"));
    EXPECT_EQ(Form->History().UndoableSteps(), steps + 1);
    Action("Undo")->trigger();
    // The keys reach the history from an edit field too.
    QLineEdit* zoom = Form->findChild<QComboBox*>("Zoom1ComboBox")->lineEdit();
    QApplication::setActiveWindow(Form.get());
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->Phasors.size(), 2u);
}

// A file named at the start is the state undo goes back to at most: no step, and a command
// that changes nothing records none either.
TEST_F(MainUndoTest, FileNamedAtTheStartIsTheHistorysStart) {
    WriteFile("start.zgf", 5);
    OpenStartFiles(*Form, {InFolder("start.zgf")});
    const std::string opened = State();
    ASSERT_EQ(Form->Phasors.size(), 3u);
    EXPECT_FALSE(Action("Undo")->isEnabled());
    EXPECT_EQ(Text("Undo"), UndoCaption);
    Dialogs.ExpectYesNo(DeleteAllQuestion, false);
    Action("DeleteAllPhasors")->trigger();
    EXPECT_FALSE(Action("Undo")->isEnabled());
    EXPECT_EQ(Form->History().StepCount(), 0u);
    Dialogs.ExpectYesNo(DeleteAllQuestion, true);
    Action("DeleteAllPhasors")->trigger();
    Action("Undo")->trigger();
    EXPECT_EQ(State(), opened);
    EXPECT_FALSE(Action("Undo")->isEnabled());
}

// The clock: switching on (its first tick) and off are a step each, the ticks between none.
TEST_F(MainUndoTest, ClockSwitchingIsAStepItsTicksAreNone) {
    const std::string before = Saved();
    int second = 0;
    Form->ClockSource = [&second] { return TClockTime{10, 20, second++, 0}; };
    Form->EasterEgg();
    Action("HiddenClockButton")->trigger();
    for (int i = 0; i < 3; ++i)
        Form->Timer1Timer();
    EXPECT_EQ(Form->History().UndoableSteps(), 1u);
    EXPECT_EQ(Text("Undo"), UndoCaption + ": Uhr einschalten");
    Action("HiddenClockButton")->trigger();
    EXPECT_EQ(Text("Undo"), UndoCaption + ": Uhr ausschalten");
    EXPECT_EQ(Form->Phasors[2].Name.Str(), "s2");
    Action("Undo")->trigger();
    EXPECT_EQ(Form->Phasors[2].Name.Str(), "s0");
    // Undo while the clock runs stops it and goes back before its start.
    Action("Redo")->trigger();
    Action("HiddenClockButton")->trigger();
    Form->Timer1Timer();
    EXPECT_TRUE(Form->Timer1->isActive());
    Action("Undo")->trigger();
    EXPECT_FALSE(Form->Timer1->isActive());
    EXPECT_FALSE(Action("HiddenClockButton")->isChecked());
    EXPECT_EQ(Form->Phasors[2].Name.Str(), "s2");
    Action("Undo")->trigger();
    Action("Undo")->trigger();
    EXPECT_TRUE(Saved() == before);
}

// Each voltage or current handed over from the element dialog is a step of the main window.
TEST_F(MainUndoTest, EveryHandOverFromTheCircuitWindowIsAStep) {
    const std::string before = Saved();
    WhenModal<QDialog>([](QDialog& window) {
        WhenModal<TElementPropertiesForm>([](TElementPropertiesForm& dialog) {
            dialog.UButton->click();
            dialog.IButton->click();
            dialog.UButton->click();
        });
        window.findChild<QToolButton*>("EditOuterGroupButton")->click();
    });
    Action("CircuitCalculation")->trigger();
    ASSERT_EQ(Form->Phasors.size(), 5u);
    EXPECT_EQ(Form->History().UndoableSteps(), 3u);
    EXPECT_EQ(Text("Undo"), UndoCaption +
                                ": \xC3\x9C"
                                "bernahme aus der Schaltung");
    for (int i = 0; i < 3; ++i)
        Action("Undo")->trigger();
    EXPECT_TRUE(Saved() == before);
}

}  // namespace
}  // namespace zeigora
