// Roots mode and the hidden clock of the main window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTimer>
#include <cmath>
#include <optional>

#include "mainform_support.h"

namespace zeigora {
namespace {

const char RootsQuestion[] =
    "Warnung: diese Funktion berechnet die L\xF6sungen der n.ten Wurzel einer einzigen "
    "komplexen Zahl. Es werden daher alle Zeiger ausgenommen des ersten gel\xF6scht. "
    "Fortfahren?";
const char DegreePrompt[] = "Bitte geben Sie eine Zahl zwischen 2 und 16 ein";
constexpr double Pi = 3.14159265358979323846;

class MainFormModesTest : public MainFormTest {
  protected:
    void StartRoots() {
        Dialogs.ExpectYesNo(RootsQuestion, true);
        Action("Active")->trigger();
    }
    void ExpectValue(int index, double re, double im) {
        SCOPED_TRACE(index);
        EXPECT_NEAR(Form->Phasors[index].Value.Re, re, 1e-12);
        EXPECT_NEAR(Form->Phasors[index].Value.Im, im, 1e-12);
    }
};

TEST_F(MainFormModesTest, RootsOfTheFirstPhasorReplaceTheRest) {
    Form->SelectPhasor(&Form->Phasors[1]);
    StartRoots();
    ASSERT_EQ(Names(), (Strings{"Zeiger1", "Loesung1", "Loesung2"}));
    EXPECT_EQ(Form->Phasors[2].Definition.Str(), "Zeiger1^(1/2)*e^(j*1*360\xB0/2)");
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    Frame();
    const TComplex r1 = Form->Phasors[1].Value;
    EXPECT_EQ(Form->Phasors[1].Color, 0x0000FFu);
    EXPECT_EQ(Form->Phasors[2].Color, 0x0000FFu);
    EXPECT_NEAR(r1.Re * r1.Re - r1.Im * r1.Im, 2.0, 1e-12);  // r1^2 = 2 - 1j
    EXPECT_NEAR(2 * r1.Re * r1.Im, -1.0, 1e-12);
    ExpectValue(2, -r1.Re, -r1.Im);
}

TEST_F(MainFormModesTest, RootsModeRefusesCommandsThatChangeTheCount) {
    StartRoots();
    Form->SelectPhasor(&Form->Phasors[1]);
    for (const char* command :
         {"NewPhasor", "DuplicatePhasor", "DeletePhasor", "DeleteAllPhasors"}) {
        Dialogs.ExpectError(
            "Diese Funktion ist bei der Darstellung mehrerer L\xF6sungen nicht verf\xFCgbar.");
        Action(command)->trigger();
    }
    EXPECT_EQ(Form->Phasors.size(), 3u);
    Action("Active")->trigger();  // off: no question, the solutions stay
    EXPECT_FALSE(Form->PlaneSettings().RootsMode);
    EXPECT_EQ(Form->Phasors.size(), 3u);
    Action("NewPhasor")->trigger();
    EXPECT_EQ(Form->Phasors.size(), 4u);
}

TEST_F(MainFormModesTest, DegreeOutsideTwoToSixteenFallsBackToTwo) {
    StartRoots();
    Dialogs.ExpectInput(DegreePrompt, "16");
    Action("ChangeNumber")->trigger();
    EXPECT_EQ(Form->Phasors.size(), 17u);
    EXPECT_EQ(Action("ChangeNumber")->text(), QString::fromUtf8("Grad ändern... (16)"));
    const std::optional<std::string> answers[] = {"17", "1", "zwei", std::nullopt};
    for (const auto& answer : answers) {
        Dialogs.ExpectInput(DegreePrompt, answer);
        Dialogs.ExpectError(
            "Ung\xFCltige Eingabe. Grad wird auf 2 zur\xFC"
            "ckgesetzt.");
        Action("ChangeNumber")->trigger();
        EXPECT_EQ(Form->RootDegree, 2);
        EXPECT_EQ(Form->Phasors.size(), 3u);
    }
}

TEST_F(MainFormModesTest, RootsOfAnEmptyListStartWithANamelessRecord) {
    Dialogs.ExpectYesNo("Sind Sie sicher, dass Sie alle Zeiger l\xF6schen wollen?", true);
    Action("DeleteAllPhasors")->trigger();
    StartRoots();
    ASSERT_EQ(Form->Phasors.size(), 3u);
    EXPECT_TRUE(Form->Phasors[0].Name.Empty());
    EXPECT_EQ(Form->Phasors[0].Visible, 0);
    Frame();
    EXPECT_EQ(Form->ErrorEntries().size(), 3u);
}

TEST_F(MainFormModesTest, ClockHandsAtHalfPastThree) {
    Form->ClockSource = [] { return TClockTime{15, 30, 0, 0}; };
    Form->SelectPhasor(&Form->Phasors[1]);
    Form->resize(700, 600);
    QTest::mouseDClick(Child<QLabel>("Zoom2Label"), Qt::LeftButton);
    EXPECT_TRUE(Action("HiddenClockButton")->isVisible());
    Action("HiddenClockButton")->trigger();
    EXPECT_TRUE(Form->Timer1->isActive());
    EXPECT_EQ(Form->Timer1->interval(), 1000);
    Form->Timer1Timer();
    ASSERT_EQ(Names(), (Strings{"h15", "m30", "s0"}));
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);  // the old list is gone
    const double hour = Pi / 2 - (15.5 / 12) * 2 * Pi;
    ExpectValue(0, 0.6 * std::cos(hour), 0.6 * std::sin(hour));
    ExpectValue(1, 0.0, -0.9);
    ExpectValue(2, 0.0, 0.95);
    EXPECT_EQ(Form->Phasors[2].Color, 0x0000FFu);
    EXPECT_EQ(Form->size(), QSize(608, 545));
    EXPECT_EQ(ComboText("Zoom1ComboBox"), "0,5");
    EXPECT_EQ(Form->PlaneSettings().Scale1, 0.5);
    EXPECT_TRUE(Form->PlaneSettings().UnitCircle1);
    EXPECT_FALSE(Form->PlaneSettings().ShowNumbers);

    // A hand picked between ticks stays selected; the smooth button moves the second hand.
    Form->SelectPhasor(&Form->Phasors[2]);
    Action("SmoothClockButton")->trigger();
    EXPECT_EQ(Form->Timer1->interval(), 100);
    Form->ClockSource = [] { return TClockTime{15, 30, 15, 500}; };
    Form->Timer1Timer();
    EXPECT_EQ(Form->SelectedIndex(), 2);
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "Kein");
    EXPECT_NEAR(Form->Phasors[2].Value.Re, 0.95 * std::cos(Pi / 2 - 15.5 / 60 * 2 * Pi), 1e-12);
    Action("HiddenClockButton")->trigger();
    EXPECT_FALSE(Form->Timer1->isActive());
}

}  // namespace
}  // namespace zeigora
