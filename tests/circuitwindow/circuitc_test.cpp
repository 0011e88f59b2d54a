#include "circuitwindow/circuitc.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QToolButton>
#include <fstream>
#include <memory>

#include "circuit/circuitquery.h"
#include "circuitwindow/circuitwindow_support.h"
#include "circuitwindow/elemprop.h"
#include "circuitwindow/linklabel.h"
#include "dialogs/editfram.h"
#include "dialogs/paintboxwidget.h"
#include "dialogs/scripteddialogs_support.h"

namespace zeigora {
namespace {

const std::string DeleteAllQuestion =
    "Wenn Sie fortfahren wird die komplette Schaltung gel\xF6scht. Sind Sie sicher, dass Sie "
    "fortfahren m\xF6\x63hten?";
const std::string OpenQuestion =
    "Wenn Sie fortfahren wird die aktuelle Schaltung gel\xF6scht. Sind Sie sicher, dass Sie "
    "fortfahren m\xF6\x63hten?";

// Points of the default circuit in the default 500 x 173 diagram.
const QPoint OnResistor(75, 86), OnCapacitor(215, 129), OnNothing(400, 10);

class CircuitWindowTest : public TScriptedDialogsTest {
  protected:
    void SetUp() override {
        TScriptedDialogsTest::SetUp();
        Window = std::make_unique<TCircuitCalculationForm>(Phasors, [] {});
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }
    void TearDown() override {
        Window.reset();
        TScriptedDialogsTest::TearDown();
    }

    void Press(QPoint p) { QTest::mousePress(Window->PaintBox, Qt::LeftButton, {}, p); }
    TCustomCircuitElement* Child(int index) const { return Window->OuterGroup->Items(index); }
    TCircuitElementGroup* Tank() const { return static_cast<TCircuitElementGroup*>(Child(1)); }
    std::string Path(const char* name) const { return Folder.filePath(name).toStdString(); }
    void Answer(TDialogKind kind, const char* file) {
        Dialogs.ExpectFile(kind, TFileChoice{Path(file), 1});
    }

    TPhasorArray Phasors;
    std::unique_ptr<TCircuitCalculationForm> Window;
    QTemporaryDir Folder;
};

// "0" and "0," both read as 0, so the message comes twice on the way to 0,5.
TEST_F(CircuitWindowTest, TypingHalfAHertzPassesThroughZero) {
    for (int i = 0; i < 2; ++i)
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

TEST_F(CircuitWindowTest, PressSelectsTheDeepestElementUnderThePointer) {
    const std::pair<QPoint, TCustomCircuitElement*> cases[] = {
        {OnResistor, Child(0)},
        {OnCapacitor, Tank()->Items(1)},
        {QPoint(145, 86), Child(1)},  // inside the parallel group only
        {OnNothing, nullptr},
        {QPoint(115, 86), Window->OuterGroup.get()},  // between the resistor and the group
    };
    for (const auto& [point, expected] : cases) {
        Press(point);
        EXPECT_EQ(Window->SelectedElement, expected);
        EXPECT_EQ(Window->DeleteElementButton->isEnabled(), expected != nullptr);
    }
}

TEST_F(CircuitWindowTest, DeletingLastElementsRemovesInnerGroupsButKeepsTheOuterOne) {
    Press(QPoint(115, 86));
    Dialogs.ExpectError(
        "Sie k\xF6nnen die \xE4u\xDF"
        "erste Bauteilgruppe nicht l\xF6schen!");
    Window->DeleteElementButton->click();
    for (QPoint p : {OnCapacitor, QPoint(215, 86), OnResistor}) {
        Press(p);
        ASSERT_NE(Window->SelectedElement, nullptr);
        Dialogs.ExpectYesNo(
            "Sind Sie sicher, dass Sie dieses Bauteil / diese Bauteilgruppe "
            "l\xF6schen m\xF6\x63hten?",
            true);
        Window->DeleteElementButton->click();
        EXPECT_EQ(Window->SelectedElement, nullptr);
        EXPECT_FALSE(Window->DeleteElementButton->isEnabled());
    }
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
    EXPECT_FALSE(Window->OuterGroup->IsParallel);
    EXPECT_FALSE(Window->EditElementButton->isEnabled());
    EXPECT_TRUE(Near(Window->ComplexEditorFrame1->GetValue(), 0, 0, 0));
    const TComplexEditorFrame& current = *Window->ComplexEditorFrame2;
    EXPECT_EQ(TextOf(current.RealEdit) + " " + TextOf(current.ImgEdit) + " " +
                  TextOf(current.AbsEdit) + " " + TextOf(current.PhasEdit),
              "INF NaN INF 0");
    // Still usable: a new resistor through the outer group's dialog.
    OnNextModal([](QWidget* dialog) {
        static_cast<TElementPropertiesForm*>(dialog)->NewRLabel->OnClick();
    });
    Window->EditOuterGroupButton->click();
    ASSERT_EQ(Window->OuterGroup->Count(), 1);
    EXPECT_TRUE(Near(Window->ComplexEditorFrame1->GetValue(), 2200, 0, 1e-9));
}

TEST_F(CircuitWindowTest, PressAfterTheElementDialogOnlyClearsTheFlag) {
    Press(OnResistor);
    OnNextModal();
    Window->EditElementButton->click();
    EXPECT_TRUE(Window->SuppressNextMouseDown);
    Press(OnCapacitor);
    EXPECT_EQ(Window->SelectedElement, Child(0));
    Press(OnCapacitor);
    EXPECT_EQ(Window->SelectedElement, Tank()->Items(1));
    // A double click opens the dialog and its last press is the one ignored.
    Press(OnResistor);
    OnNextModal();
    QTest::mouseDClick(Window->PaintBox, Qt::LeftButton, {}, OnResistor);
    EXPECT_EQ(Window->SelectedElement, Child(0));
    EXPECT_FALSE(Window->SuppressNextMouseDown);
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
    EXPECT_EQ(Tank()->Name.Str(), "Schwingkreis 1");
    EXPECT_TRUE(Tank()->IsParallel);
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

}  // namespace
}  // namespace zeigora
