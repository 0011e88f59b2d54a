// "Rückgängig" and "Wiederherstellen" of the circuit window, driven through its buttons, the
// diagram and the element dialog as the user does, under scripted answers.
#include <QAction>
#include <QGroupBox>
#include <QRadioButton>
#include <random>

#include "../circuit/random_circuit.h"
#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "circuitwindow/circuitwindow_support.h"

namespace zeigora {
namespace {

using namespace test;

std::string Utf8(const QString& text) {
    return text.toStdString();
}

void Click(TLinkLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton);
}

class CircuitUndoTest : public TCircuitWindowTest {
  protected:
    // The bytes "Schaltung speichern" writes for the tree shown.
    std::string Tree() const {
        TByteStream bytes;
        SaveToStream(*Window->OuterGroup, bytes);
        return {bytes.begin(), bytes.end()};
    }
    std::string SavedThroughTheButton(const char* name) {
        Answer(TDialogKind::SaveFile, name);
        Window->SaveFileButton->click();
        return ReadBytes(Path(name));
    }
    std::vector<const TCustomCircuitElement*> Elements() const {
        std::vector<const TCustomCircuitElement*> all;
        for (const TCircuitNode& node : FlattenCircuit(*Window->OuterGroup))
            all.push_back(node.Element);
        return all;
    }
    int Selection() const {
        const auto all = Elements();
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i] == Window->SelectedElement) return static_cast<int>(i);
        return -1;
    }
    // The states the session went through, with the selection each was left with.
    void Observe(int selectedBefore, int typedField) {
        const std::string now = Tree();
        const std::size_t steps = Window->History().UndoableSteps();
        const std::uint64_t key = typedField == 0 ? 0 : typedField * 100000 + selectedBefore;
        if (steps + 2 == States.size()) {
            // Typing on back to the state before its step removes the step.
            ASSERT_NE(key, 0u);
            ASSERT_EQ(key, LastTyped);
            ASSERT_TRUE(now == States[States.size() - 2]);
            States.pop_back();
            Selections.pop_back();
            LastTyped = 0;
            return;
        }
        if (steps == States.size() - 1) {
            if (now == States.back()) return;
            // No new step for a change: only typing on in the field of the step before.
            ASSERT_NE(key, 0u) << "a change without a step";
            ASSERT_EQ(key, LastTyped) << "typing joined to another field's step";
            States.back() = now;
            Selections.back() = Selection();
            return;
        }
        ASSERT_EQ(steps, States.size()) << "more than one step";
        ASSERT_TRUE(now != States.back()) << "a step without a change";
        Selections.back() = selectedBefore;
        States.push_back(now);
        Selections.push_back(Selection());
        LastTyped = key;
    }

    void RandomDialogAction(TElementPropertiesForm& dialog, std::mt19937& rng) {
        const int before = Selection();
        const int count = dialog.ElementListBox->count();
        const bool group = dialog.GroupEditorGroupBox->isVisible();
        const char* const names[] = {"A", "R7", "Neu"};
        const char* const values[] = {"4,7k", "100m", "22\xB5", "x1", "3,3"};
        switch (rng() % (!group ? 3 : count == 0 ? 5 : 8)) {
            case 0:
                TypeInto(dialog.ElementNameEdit, names[rng() % 3]);
                return Observe(before, NameField);
            case 1:
                if (!group) TypeInto(dialog.ElementValueEdit, values[rng() % 5]);
                return Observe(before, ValueField);
            case 2:
                // Going to another element stores its value as shown, like opening.
                Click(dialog.ParentLabel);
                return Observe(Selection(), ValueField);
            case 3:
                (dialog.SerialRadioButton->isChecked() ? dialog.ParallelRadioButton
                                                       : dialog.SerialRadioButton)
                    ->click();
                break;
            case 4: {
                TLinkLabel* const adds[] = {dialog.NewRLabel, dialog.NewLLabel, dialog.NewCLabel,
                                            dialog.NewGroupLabel};
                Click(adds[rng() % 4]);
                break;
            }
            case 5:
                dialog.ElementListBox->setCurrentRow(int(rng() % count));
                Click(dialog.EditElementLabel);
                return Observe(Selection(), ValueField);
            case 6:
                dialog.ElementListBox->setCurrentRow(int(rng() % count));
                if (!dialog.DeleteElementLabel->isEnabled()) break;
                if (count == 1)
                    Dialogs.ExpectError(LastMemberText);
                else
                    Dialogs.ExpectYesNo(MemberDeleteQuestion, rng() % 3 != 0);
                Click(dialog.DeleteElementLabel);
                break;
            default:
                dialog.ElementListBox->setCurrentRow(int(rng() % count));
                for (int i = 0; i < count; ++i)
                    dialog.ElementListBox->item(i)->setSelected(rng() % 2 == 0);
                Click(dialog.ToGroupLabel);
        }
        Observe(before, 0);
    }

    void RandomCommand(std::mt19937& rng) {
        switch (rng() % 8) {
            case 0:
            case 1: {
                Window->RedrawDiagram();
                const auto all = Elements();
                const TDrawnRect r = all[rng() % all.size()]->DrawnRect;
                Press(QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
                break;
            }
            case 2:
            case 3: {
                QToolButton* button = rng() % 2 && Window->SelectedElement != nullptr
                                          ? Window->EditElementButton
                                          : Window->EditOuterGroupButton;
                LastTyped = 0;
                WithElementDialog(button, [&](TElementPropertiesForm& dialog) {
                    // Opening stores the value as shown, which may round it.
                    Observe(Selection(), ValueField);
                    for (int n = rng() % 6; n > 0 && !HasFailure(); --n)
                        RandomDialogAction(dialog, rng);
                });
                return;
            }
            case 4: {
                const int before = Selection();
                if (Window->SelectedElement == nullptr) return;
                if (Window->SelectedElement == Window->OuterGroup.get())
                    Dialogs.ExpectError(OuterGroupRefusal);
                else
                    Dialogs.ExpectYesNo(DeleteQuestion, rng() % 4 != 0);
                Window->DeleteElementButton->click();
                return Observe(before, 0);
            }
            case 5: {
                const int before = Selection();
                Dialogs.ExpectYesNo(DeleteAllQuestion, rng() % 3 == 0);
                Window->DeleteAllButton->click();
                return Observe(before, 0);
            }
            default: {
                const int before = Selection();
                const bool yes = rng() % 4 != 0;
                Dialogs.ExpectYesNo(OpenQuestion, yes);
                if (yes)
                    Dialogs.ExpectFile(
                        TDialogKind::OpenFile,
                        rng() % 4 ? std::optional(TFileChoice{Path("a.zgs"), 1}) : std::nullopt);
                Window->OpenFileButton->click();
                return Observe(before, 0);
            }
        }
        Observe(Selection(), 0);
    }

    std::vector<std::string> States;
    std::vector<int> Selections;
    std::uint64_t LastTyped = 0;
};

// A random session undone step by step gives every tree back byte for byte with its selection,
// down to the file of the start; redone, every later one up to the file of the end.
TEST_F(CircuitUndoTest, RandomSessionsUndoToTheStartAndRedoToTheEnd) {
    const auto file = test::MakeRandomCircuit(5, 12, 3);
    ASSERT_TRUE(SaveCircuitToFile(*file, Path("a.zgs")).Ok);
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        while (Window->History().CanUndo())
            Window->UndoAction->trigger();
        const std::string start = SavedThroughTheButton("start.zgs");
        States = {Tree()};
        Selections = {Selection()};
        for (int command = 0; command < 30 && !HasFailure(); ++command) {
            SCOPED_TRACE(command);
            RandomCommand(rng);
            Dialogs.VerifyAllShown();
        }
        ASSERT_FALSE(HasFailure());
        const std::string end = SavedThroughTheButton("end.zgs");
        for (std::size_t i = States.size() - 1; i > 0; --i) {
            ASSERT_TRUE(Window->UndoButton->isEnabled());
            Window->UndoButton->click();
            ASSERT_TRUE(Tree() == States[i - 1]) << i;
            EXPECT_EQ(Selection(), Selections[i - 1]) << i;
            EXPECT_EQ(Window->EditElementButton->isEnabled(), Window->SelectedElement != nullptr);
        }
        EXPECT_FALSE(Window->UndoAction->isEnabled());
        EXPECT_TRUE(SavedThroughTheButton("undone.zgs") == start);
        for (std::size_t i = 1; i < States.size(); ++i) {
            Window->RedoButton->click();
            ASSERT_TRUE(Tree() == States[i]) << i;
        }
        EXPECT_FALSE(Window->RedoAction->isEnabled());
        EXPECT_TRUE(SavedThroughTheButton("redone.zgs") == end);
    }
}

TEST_F(CircuitUndoTest, CaptionsNameTheStepTypingIsOneStep) {
    EXPECT_EQ(Utf8(Window->UndoButton->toolTip()), UndoCaption);
    EXPECT_FALSE(Window->UndoButton->isEnabled());
    EXPECT_FALSE(Window->RedoButton->isEnabled());
    // The resistor R: its name typed key by key, then its value.
    Press(QPoint(75, 86));
    WithElementDialog(Window->EditElementButton, [](TElementPropertiesForm& dialog) {
        TypeInto(dialog.ElementNameEdit, "R12");
        TypeInto(dialog.ElementValueEdit, "4,7k");
        TypeInto(dialog.ElementNameEdit, "R3");
    });
    EXPECT_EQ(Window->History().UndoableSteps(), 3u);
    EXPECT_EQ(Utf8(Window->UndoAction->text()), UndoCaption + ": Bezeichnung \xC3\xA4ndern");
    Window->UndoButton->click();
    EXPECT_EQ(Window->OuterGroup->Items(0)->Name.Str(), "R12");
    Window->UndoButton->click();
    EXPECT_EQ(Window->OuterGroup->Items(0)->ElementValue, 2200.0);
    EXPECT_EQ(Window->SelectedElement, Window->OuterGroup->Items(0));
    EXPECT_EQ(Utf8(Window->RedoButton->toolTip()), "Wiederherstellen: Bauteilwert \xC3\xA4ndern");
    Window->UndoButton->click();
    EXPECT_EQ(Window->OuterGroup->Items(0)->Name.Str(), "R");
    EXPECT_FALSE(Window->UndoButton->isEnabled());

    // Delete all, then its undo with the keys, the selection coming back.
    Dialogs.ExpectYesNo(DeleteAllQuestion, true);
    Window->DeleteAllButton->click();
    EXPECT_EQ(Utf8(Window->UndoAction->text()), UndoCaption + ": Alles l\xC3\xB6schen");
    EXPECT_FALSE(Window->RedoAction->isEnabled());
    QApplication::setActiveWindow(Window.get());
    Window->ACFrequencyEdit->setFocus();
    QTest::keyClick(Window->ACFrequencyEdit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Window->OuterGroup->Count(), 2);
    EXPECT_EQ(Window->SelectedElement, Window->OuterGroup->Items(0));
    EXPECT_TRUE(Window->DeleteElementButton->isEnabled());
    QTest::keyClick(Window->ACFrequencyEdit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Window->OuterGroup->Count(), 0);
    EXPECT_FALSE(Window->DeleteElementButton->isEnabled());

    // Open: a step of its own; the way forward is gone.
    ASSERT_TRUE(SaveCircuitToFile(*MakeDefaultCircuit(), Path("a.zgs")).Ok);
    Dialogs.ExpectYesNo(OpenQuestion, true);
    Answer(TDialogKind::OpenFile, "a.zgs");
    Window->OpenFileButton->click();
    EXPECT_EQ(Window->History().UndoableSteps(), 2u);
    EXPECT_EQ(Utf8(Window->UndoButton->toolTip()), UndoCaption +
                                                       ": Schaltung \xC3\xB6"
                                                       "ffnen");
    EXPECT_FALSE(Window->RedoButton->isEnabled());
}

}  // namespace
}  // namespace zeigora
