// The circuit calculation window and the element dialog, driven as the user does, under
// scripted dialogs.
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <fstream>

#include "circuit/circuitquery.h"
#include "circuitwindow/circuitwindow_support.h"
#include "dialogs/editfram.h"

namespace zeigora {
namespace {

using namespace test;
using CircuitWindowTest = TCircuitWindowTest;

const std::string ZeroValueText = "Bauteilwert darf nicht 0 sein!";
// Points of the default circuit in the default 500 x 173 diagram.
const QPoint OnResistor(75, 86), OnCapacitor(215, 129), OnNothing(400, 10);

// "0" reads as 0, "0," as no number yet: the message comes once on the way to 0,5.
TEST_F(CircuitWindowTest, TypingHalfAHertzPassesThroughZero) {
    Dialogs.ExpectWarning(
        "AC-Frequenz darf nicht 0 sein. Die Frequenz wird jetzt auf 50 Hz "
        "zur\xFC"
        "ckgesetzt.");
    TypeInto(Window->ACFrequencyEdit, "0,5");
    EXPECT_EQ(Window->Supply.Omega, FrequencyToOmega(0.5));
    EXPECT_FALSE(IsMarkedInvalid(*Window->ACFrequencyEdit));
    TypeInto(Window->ACFrequencyEdit, "x");
    EXPECT_TRUE(IsMarkedInvalid(*Window->ACFrequencyEdit));
    EXPECT_EQ(Window->Supply.Omega, FrequencyToOmega(0.5));
}

// Escape would throw the edited circuit away; only the close box closes the window.
TEST_F(CircuitWindowTest, EscapeKeepsTheWindowOpen) {
    TypeInto(Window->ACFrequencyEdit, "60");
    QTest::keyClick(Window->ACFrequencyEdit, Qt::Key_Escape);
    QTest::keyClick(Window.get(), Qt::Key_Escape);
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Window->result(), 0);
}

// The diagram is exactly as large as Weite and Höhe say, however many branches it has.
TEST_F(CircuitWindowTest, DiagramTakesTheSizeOfTheSpinEdits) {
    Window->OuterGroup = std::make_unique<TCircuitElementGroup>();
    Window->OuterGroup->IsParallel = true;
    for (int i = 0; i < 3; ++i)
        Window->OuterGroup->Add(std::make_unique<TResistor>(100.0));
    Window->RedrawDiagram();
    EXPECT_EQ(Window->Diagram().Width(), 500);
    EXPECT_EQ(Window->Diagram().Height(), 173);
    EXPECT_EQ(Window->PaintBox->size(), QSize(500, 173));
    for (int i = 0; i < 3; ++i) {
        const TDrawnRect& r = Child(i)->DrawnRect;
        EXPECT_EQ((r.Top + r.Bottom) / 2, 43 * (i + 1)) << i;
    }
    Window->PaintBoxHeightSpinEdit->setValue(100);
    Window->PaintBoxWidthSpinEdit->setValue(120);
    EXPECT_EQ(Window->Diagram().Height(), 100);
    EXPECT_EQ(Window->Diagram().Width(), 120);
}

TEST_F(CircuitWindowTest, SupplyVoltageIsTakenOverWhenTheFieldIsLeft) {
    TComplexEditorFrame& voltage = *Window->ComplexEditorFrame3;
    TypeInto(voltage.RealEdit, "115");
    EXPECT_EQ(Window->Supply.SupplyVoltage.Re, 230);
    QTest::keyClick(voltage.RealEdit, Qt::Key_Tab);
    EXPECT_EQ(Window->Supply.SupplyVoltage.Re, 115);
    EXPECT_TRUE(Near(Window->ComplexEditorFrame2->GetValue(), 0.052171, -0.002303, 1e-6));
    // Enter elsewhere presses no conjugation button.
    TypeInto(voltage.ImgEdit, "10");
    QTest::keyClick(voltage.ImgEdit, Qt::Key_Tab);
    QTest::keyClick(Window->ACFrequencyEdit, Qt::Key_Return);
    EXPECT_EQ(Window->Supply.SupplyVoltage.Im, 10);
}

TEST_F(CircuitWindowTest, DeletingLastElementsRemovesInnerGroupsButKeepsTheOuterOne) {
    for (QPoint p : {OnCapacitor, QPoint(215, 86), OnResistor}) {
        Press(p);
        Dialogs.ExpectYesNo(DeleteQuestion, true);
        Window->DeleteElementButton->click();
    }
    EXPECT_EQ(Window->SelectedElement, nullptr);
    EXPECT_EQ(Window->OuterGroup->Count(), 0);
}

TEST_F(CircuitWindowTest, DeleteAllKeepsAnEmptyUsableOuterGroup) {
    Press(OnResistor);
    Dialogs.ExpectYesNo(DeleteAllQuestion, false);
    Window->DeleteAllButton->click();
    EXPECT_EQ(Window->OuterGroup->Count(), 2);
    Dialogs.ExpectYesNo(DeleteAllQuestion, true);
    Window->DeleteAllButton->click();
    EXPECT_EQ(Window->OuterGroup->Count(), 0);
    EXPECT_EQ(Window->OuterGroup->Name.Str(), "Schaltung 1");
    EXPECT_TRUE(Near(Window->ComplexEditorFrame1->GetValue(), 0, 0, 0));
    const TComplexEditorFrame& current = *Window->ComplexEditorFrame2;
    EXPECT_EQ(TextOf(current.RealEdit) + " " + TextOf(current.ImgEdit) + " " +
                  TextOf(current.AbsEdit) + " " + TextOf(current.PhasEdit),
              "INF NaN INF 0");
}

TEST_F(CircuitWindowTest, DoubleClickOnNothingSaysNoPartIsSelected) {
    Press(OnNothing);
    Dialogs.ExpectError("Kein Bauelement ausgew\xE4hlt!");
    QTest::mouseDClick(Window->PaintBox, Qt::LeftButton, {}, OnNothing);
}

TEST_F(CircuitWindowTest, SavedCircuitOpensAgainAndFailuresAreReported) {
    Answer(TDialogKind::SaveFile, "fehlt/kreis.zgs");
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Error));
    Window->SaveFileButton->click();
    Answer(TDialogKind::SaveFile, "kreis.zgs");
    Window->SaveFileButton->click();

    std::ofstream(Path("kaputt.zgs")) << "keine Schaltung";
    Press(OnResistor);
    const TCircuitElementGroup* before = Window->OuterGroup.get();
    Dialogs.ExpectYesNo(OpenQuestion, true);
    Answer(TDialogKind::OpenFile, "kaputt.zgs");
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Error));
    Window->OpenFileButton->click();
    EXPECT_EQ(Window->OuterGroup.get(), before);
    EXPECT_EQ(Window->SelectedElement, Child(0));

    Dialogs.ExpectYesNo(DeleteAllQuestion, true);
    Window->DeleteAllButton->click();
    Dialogs.ExpectYesNo(OpenQuestion, true);
    Answer(TDialogKind::OpenFile, "kreis.zgs");
    Window->OpenFileButton->click();
    ASSERT_EQ(Window->OuterGroup->Count(), 2);
    EXPECT_TRUE(Near(Window->ComplexEditorFrame1->GetValue(), 2200, 97.1235, 1e-4));
}

// The extension check is the shared picture export's; the window's picture keeps the selection.
TEST_F(CircuitWindowTest, BitmapKeepsTheSelection) {
    Press(OnResistor);
    Answer(TDialogKind::SaveFile, "Bild.bmp");
    Window->SaveAsBitmapButton->click();
    const QImage picture(QString::fromStdString(Path("Bild.bmp")));
    ASSERT_EQ(picture.size(), QSize(500, 173));
    EXPECT_EQ(picture.pixelColor(Child(0)->DrawnRect.Left, 86), QColor(255, 0, 0));
}

class ElementDialogTest : public TScriptedDialogsTest {
  protected:
    void TearDown() override {
        Form.reset();
        TScriptedDialogsTest::TearDown();
    }

    void Open(TCustomCircuitElement* element) {
        Selected = element;
        Form = std::make_unique<TElementPropertiesForm>(
            TElementDialogLinks{Selected, Supply, ShowNames, ShowValues, [] {}, Phasors,
                                [this] { ++PhasorRefreshes; }});
        Form->show();
    }
    TCustomCircuitElement* Resistor() const { return Circuit->Items(0); }
    TCircuitElementGroup* Tank() const {
        return static_cast<TCircuitElementGroup*>(Circuit->Items(1));
    }
    TCustomCircuitElement* Capacitor() const { return Tank()->Items(1); }
    // A series group of resistors named by the letters.
    void OpenGroupOf(const char* names) {
        Circuit->Clear();
        auto* group = Circuit->Add(std::make_unique<TCircuitElementGroup>());
        for (const char* n = names; *n; ++n)
            group->Add(std::make_unique<TResistor>(1.0))->Name = std::string(1, *n);
        Open(group);
    }

    std::unique_ptr<TCircuitElementGroup> Circuit = MakeDefaultCircuit();
    TCustomCircuitElement* Selected = nullptr;
    TCircuitSupply Supply;
    bool ShowNames = true;
    bool ShowValues = false;
    TPhasorArray Phasors;
    int PhasorRefreshes = 0;
    std::unique_ptr<TElementPropertiesForm> Form;
};

TEST_F(ElementDialogTest, ShowsAPartWithItsTypeUnitAndParent) {
    Open(Capacitor());
    EXPECT_EQ(TextOf(Form->ElementNameEdit), "C");
    EXPECT_EQ(TextOf(Form->ElementValueEdit), "1\xB5");
    EXPECT_EQ(Form->ElementTypeLabel->text(), "Kondensator");
    EXPECT_EQ(Form->ValueTypeLabel->text(), "F");
    EXPECT_EQ(Form->ParentLabel->text(), "Schwingkreis 1");
    EXPECT_TRUE(Near(Form->ComplexEditorFrame3->GetValue(), -0.0031837, 0.00014056, 1e-6));
    Form->ParentLabel->OnClick();
    EXPECT_EQ(Selected, Tank());
    EXPECT_EQ(Entries(Form->ElementListBox), "L [Spule],C [Kondensator]");
    EXPECT_TRUE(Form->ParallelRadioButton->isChecked());
    Form->ParentLabel->OnClick();
    EXPECT_EQ(Selected, Circuit.get());
    EXPECT_EQ(Form->ParentLabel->text(), "Keine");
    EXPECT_FALSE(Form->ParentLabel->isEnabled());
}

// The circuit window, the element dialog and the power window open in the middle of the
// screen, not over their owner.
TEST_F(ElementDialogTest, WindowsOpenCentredOnTheScreen) {
    QWidget owner;
    owner.setGeometry(0, 0, 120, 90);
    owner.show();
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    const auto centred = [&](const QWidget* window) {
        // The client area is centred; a frame of a few pixels may come around it.
        const QPoint at = window->geometry().center();
        return std::abs(at.x() - middle.x()) <= 3 && std::abs(at.y() - middle.y()) <= 3;
    };
    TCircuitCalculationForm circuit(
        Phasors, [] {}, &owner);
    circuit.show();
    EXPECT_TRUE(centred(&circuit));
    Form = std::make_unique<TElementPropertiesForm>(
        TElementDialogLinks{Selected = Resistor(), Supply, ShowNames, ShowValues, [] {}, Phasors,
                            [] {}},
        &owner);
    Form->show();
    EXPECT_TRUE(centred(Form.get()));
    bool powerCentred = false;
    WhenModal<QWidget>([&](QWidget& power) { powerCentred = centred(&power); });
    Form->PowerInformationButton->click();
    EXPECT_TRUE(powerCentred);
    Form.reset();  // before its owner goes
}

// "0", "0,0" and "0,00" read as 0; "0," is no number yet.
TEST_F(ElementDialogTest, TypingAThousandthFaradPassesThroughZeros) {
    Open(Capacitor());
    for (int i = 0; i < 3; ++i)
        Dialogs.ExpectWarning(ZeroValueText);
    TypeInto(Form->ElementValueEdit, "0,001");
    EXPECT_EQ(Capacitor()->ElementValue, 0.001);
    TypeInto(Form->ElementValueEdit, "1mx");
    EXPECT_TRUE(IsMarkedInvalid(*Form->ElementValueEdit));
    EXPECT_EQ(Capacitor()->ElementValue, 0.001);
}

TEST_F(ElementDialogTest, OpeningRoundsTheValueOrWarnsOfAZeroPart) {
    Resistor()->ElementValue = 2217.6;
    Open(Resistor());
    EXPECT_EQ(TextOf(Form->ElementValueEdit), "2,218k");
    EXPECT_EQ(Resistor()->ElementValue, 2218.0);

    // A zero part leaves the frames alone.
    Resistor()->ElementValue = 1e-13;
    Dialogs.ExpectWarning(ZeroValueText);
    Open(Resistor());
    EXPECT_EQ(Resistor()->ElementValue, 1e-13);
    EXPECT_TRUE(Near(Form->ComplexEditorFrame1->GetValue(), 1, 2, 0));
}

TEST_F(ElementDialogTest, DeletingAsksAndNeverEmptiesTheGroup) {
    OpenGroupOf("AB");
    Form->ElementListBox->setCurrentRow(0);
    ASSERT_TRUE(Form->DeleteElementLabel->isEnabled());
    for (bool yes : {false, true}) {
        Dialogs.ExpectYesNo(MemberDeleteQuestion, yes);
        Form->DeleteElementLabel->OnClick();
    }
    EXPECT_EQ(Entries(Form->ElementListBox), "B [Widerstand]");

    Form->ElementListBox->setCurrentRow(0);
    Dialogs.ExpectError(LastMemberText);
    Form->DeleteElementLabel->OnClick();
    EXPECT_EQ(static_cast<TCircuitElementGroup*>(Selected)->Count(), 1);
}

TEST_F(ElementDialogTest, VoltageAndCurrentBecomePhasors) {
    Open(Resistor());
    Form->UButton->click();
    Form->IButton->click();
    ASSERT_EQ(Phasors.size(), 2u);
    EXPECT_EQ(PhasorRefreshes, 2);
    const TPhasor &u = Phasors[0], &i = Phasors[1];
    EXPECT_EQ(u.Name.Str(), "UR");
    EXPECT_TRUE(Near(u.Value, 229.5526, -10.1341, 1e-4));
    EXPECT_EQ(std::make_tuple(u.Color, int(u.Scale), int(u.Width)),
              std::make_tuple(0xFF0000u, 0, 1));
    EXPECT_EQ(i.Name.Str(), "IR");
    EXPECT_TRUE(Near(i.Value, 0.104342, -0.004606, 1e-6));
    EXPECT_EQ(std::make_pair(i.Color, int(i.Scale)), std::make_pair(0x0000FFu, 1));
}

}  // namespace
}  // namespace zeigora
