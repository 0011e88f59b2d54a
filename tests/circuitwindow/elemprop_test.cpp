#include "circuitwindow/elemprop.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "circuit/circuitquery.h"
#include "circuitwindow/circuitwindow_support.h"
#include "circuitwindow/linklabel.h"
#include "dialogs/editfram.h"
#include "dialogs/scripteddialogs_support.h"

namespace zeigora {
namespace {

const std::string ZeroValueText = "Bauteilwert darf nicht 0 sein!";

std::string Entries(const QListWidget* list) {
    std::string text;
    for (int i = 0; i < list->count(); ++i)
        text += (i ? "," : "") + ToCp1252(list->item(i)->text());
    return text;
}

std::string Names(const TCustomCircuitElement* element) {
    auto* group = static_cast<const TCircuitElementGroup*>(element);
    std::string text;
    for (int i = 0; i < group->Count(); ++i)
        text += group->Items(i)->Name.Str();
    return text;
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
            TElementDialogLinks{Selected, Supply, ShowNames, ShowValues, [this] { ++Redraws; },
                                Phasors, [this] { ++PhasorRefreshes; }});
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
    int Redraws = 0;
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
    EXPECT_TRUE(Form->ParentLabel->isEnabled());
    EXPECT_FALSE(Form->GroupEditorGroupBox->isVisible());
    EXPECT_EQ(Form->size(), QSize(337, 377));
    EXPECT_TRUE(Near(Form->ComplexEditorFrame3->GetValue(), -0.0031837, 0.00014056, 1e-6));

    Form->ShowDetailsButton->click();
    EXPECT_EQ(Form->ShowDetailsButton->text(), "Details <<");
    EXPECT_EQ(Form->width(), 670);
    EXPECT_TRUE(Form->ComplexEditorFrame2->isVisible());

    // Moving up keeps the details open and shows the group editor.
    Form->ParentLabel->OnClick();
    EXPECT_EQ(Selected, Tank());
    EXPECT_EQ(Form->size(), QSize(670, 559));
    EXPECT_TRUE(Form->GroupEditorGroupBox->isVisible());
    EXPECT_FALSE(Form->ElementValueEdit->isEnabled());
    EXPECT_EQ(Entries(Form->ElementListBox), "L [Spule],C [Kondensator]");
    EXPECT_TRUE(Form->ParallelRadioButton->isChecked());

    Form->ParentLabel->OnClick();
    EXPECT_EQ(Selected, Circuit.get());
    EXPECT_EQ(Form->ParentLabel->text(), "Keine");
    EXPECT_FALSE(Form->ParentLabel->isEnabled());
    EXPECT_EQ(Circuit->ElementValue, 0.0);
}

// "0", "0,", "0,0" and "0,00" all read as 0.
TEST_F(ElementDialogTest, TypingAThousandthFaradPassesThroughZeros) {
    Open(Capacitor());
    for (int i = 0; i < 4; ++i)
        Dialogs.ExpectWarning(ZeroValueText);
    TypeInto(Form->ElementValueEdit, "0,001");
    EXPECT_EQ(Capacitor()->ElementValue, 0.001);
    TypeInto(Form->ElementValueEdit, "1m");
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

TEST_F(ElementDialogTest, NewGroupHoldsOneResistor) {
    Open(Circuit.get());
    Form->NewGroupLabel->OnClick();
    EXPECT_EQ(Entries(Form->ElementListBox), "R [Widerstand],Schwingkreis 1 [Gruppe],Z [Gruppe]");
    EXPECT_EQ(Names(Circuit->Items(2)), "R");
    EXPECT_GT(Redraws, 0);
}

TEST_F(ElementDialogTest, MovingEntriesIntoANewGroupReversesThem) {
    OpenGroupOf("ABCD");
    for (int row : {1, 2})
        Form->ElementListBox->setCurrentRow(row, QItemSelectionModel::Select);
    ASSERT_TRUE(Form->ToGroupLabel->isEnabled());
    EXPECT_FALSE(Form->DeleteElementLabel->isEnabled());
    Form->ToGroupLabel->OnClick();
    EXPECT_EQ(Names(Selected), "ADZ");
    EXPECT_EQ(Names(static_cast<TCircuitElementGroup*>(Selected)->Items(2)), "CB");
    EXPECT_FALSE(Form->ToGroupLabel->isEnabled());

    OpenGroupOf("AB");
    Form->ElementListBox->selectAll();
    Form->ElementListBox->setCurrentRow(1, QItemSelectionModel::Select);
    EXPECT_FALSE(Form->ToGroupLabel->isEnabled());
}

TEST_F(ElementDialogTest, DeletingAsksAndNeverEmptiesTheGroup) {
    OpenGroupOf("AB");
    Form->ElementListBox->setCurrentRow(0);
    ASSERT_TRUE(Form->DeleteElementLabel->isEnabled());
    for (bool yes : {false, true}) {
        Dialogs.ExpectYesNo(
            "Sind Sie sicher, dass Sie dieses Element / diese Bauteilgruppe "
            "l\xF6schen m\xF6\x63hten?",
            yes);
        Form->DeleteElementLabel->OnClick();
    }
    EXPECT_EQ(Entries(Form->ElementListBox), "B [Widerstand]");

    Form->ElementListBox->setCurrentRow(0);
    Dialogs.ExpectError(
        "In einer Gruppe muss sich mindestens ein Element befinden. Daher k\xF6nnen Sie dieses "
        "Element nicht l\xF6schen.");
    Form->DeleteElementLabel->OnClick();
    EXPECT_EQ(static_cast<TCircuitElementGroup*>(Selected)->Count(), 1);
}

TEST_F(ElementDialogTest, ConnectionKindAndEditMoveThroughTheGroup) {
    Open(Tank());
    Form->SerialRadioButton->click();
    EXPECT_FALSE(Tank()->IsParallel);
    EXPECT_TRUE(Near(Form->ComplexEditorFrame1->GetValue(), 0, 94.2478 - 3183.0989, 1e-3));
    QWidget* list = Form->ElementListBox->viewport();
    const QPoint onC = Form->ElementListBox->visualItemRect(Form->ElementListBox->item(1)).center();
    QTest::mouseClick(list, Qt::LeftButton, {}, onC);
    QTest::mouseDClick(list, Qt::LeftButton, {}, onC);
    EXPECT_EQ(Selected, Capacitor());
    EXPECT_EQ(Form->ElementTypeLabel->text(), "Kondensator");
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
    EXPECT_TRUE(u.Visible && u.NameVisible);
    EXPECT_TRUE(u.Definition.Empty());
    EXPECT_EQ(i.Name.Str(), "IR");
    EXPECT_TRUE(Near(i.Value, 0.104342, -0.004606, 1e-6));
    EXPECT_EQ(std::make_pair(i.Color, int(i.Scale)), std::make_pair(0x0000FFu, 1));
}

}  // namespace
}  // namespace zeigora
