// Roots mode and the hidden clock of the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "mainform_support.h"
#include "mainwindow/rootphasors.h"

namespace zeigora {
namespace {

const char RootsQuestion[] =
    "Warnung: diese Funktion berechnet die L\xF6sungen der n.ten Wurzel einer einzigen "
    "komplexen Zahl. Es werden daher alle Zeiger ausgenommen des ersten gel\xF6scht. "
    "Fortfahren?";
const char DegreePrompt[] = "Bitte geben Sie eine Zahl zwischen 2 und 16 ein";
const char DegreeError[] =
    "Ung\xFCltige Eingabe. Grad wird auf 2 zur\xFC"
    "ckgesetzt.";
const char RootsRefusal[] =
    "Diese Funktion ist bei der Darstellung mehrerer L\xF6sungen nicht verf\xFCgbar.";
constexpr double Pi = 3.14159265358979323846;

class MainFormModesTest : public MainFormTest {
  protected:
    void StartRoots() {
        Dialogs.ExpectYesNo(RootsQuestion, true);
        Action("Active")->trigger();
    }
};

TEST_F(MainFormModesTest, RootsOfTheFirstPhasorReplaceTheRest) {
    Form->SelectPhasor(&Form->Phasors[1]);
    StartRoots();
    ASSERT_EQ(Names(), (std::vector<std::string>{"Zeiger1", "Loesung1", "Loesung2"}));
    EXPECT_EQ(Form->Phasors[2].Definition.Str(), RootDefinition("Zeiger1", 2, 2));
    EXPECT_EQ(Form->Phasors[2].Definition.Str(), "Zeiger1^(1/2)*e^(j*1*360\xB0/2)");
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    Frame();
    const TComplex r1 = Form->Phasors[1].Value, r2 = Form->Phasors[2].Value;
    EXPECT_EQ(Form->Phasors[1].Color, 0x0000FFu);
    EXPECT_EQ(Form->Phasors[2].Color, 0x0000FFu);
    EXPECT_NEAR(r1.Re * r1.Re - r1.Im * r1.Im, 2.0, 1e-12);  // r1^2 = 2 - 1j
    EXPECT_NEAR(2 * r1.Re * r1.Im, -1.0, 1e-12);
    EXPECT_NEAR(r2.Re, -r1.Re, 1e-12);
    EXPECT_NEAR(r2.Im, -r1.Im, 1e-12);
}

TEST_F(MainFormModesTest, RootsModeRefusesCommandsThatChangeTheCount) {
    StartRoots();
    Form->SelectPhasor(&Form->Phasors[1]);
    for (const char* command :
         {"NewPhasor", "DuplicatePhasor", "DeletePhasor", "DeleteAllPhasors"}) {
        Dialogs.ExpectError(RootsRefusal);
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
    for (std::optional<std::string> answer :
         {std::optional<std::string>("17"), std::optional<std::string>("1"),
          std::optional<std::string>("zwei"), std::optional<std::string>()}) {
        Dialogs.ExpectInput(DegreePrompt, answer);
        Dialogs.ExpectError(DegreeError);
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
    QTest::mouseDClick(Form->findChild<QLabel*>("Zoom2Label"), Qt::LeftButton);
    EXPECT_TRUE(Action("HiddenClockButton")->isVisible());
    Action("HiddenClockButton")->trigger();
    EXPECT_TRUE(Form->Timer1->isActive());
    EXPECT_EQ(Form->Timer1->interval(), 1000);
    Form->Timer1Timer();
    ASSERT_EQ(Names(), (std::vector<std::string>{"h15", "m30", "s0"}));
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);  // the old list is gone
    const double hour = Pi / 2 - (15.5 / 12) * 2 * Pi;
    EXPECT_NEAR(Form->Phasors[0].Value.Re, 0.6 * std::cos(hour), 1e-12);
    EXPECT_NEAR(Form->Phasors[0].Value.Im, 0.6 * std::sin(hour), 1e-12);
    EXPECT_NEAR(Form->Phasors[1].Value.Re, 0.0, 1e-12);
    EXPECT_NEAR(Form->Phasors[1].Value.Im, -0.9, 1e-12);
    EXPECT_NEAR(Form->Phasors[2].Value.Re, 0.0, 1e-12);
    EXPECT_NEAR(Form->Phasors[2].Value.Im, 0.95, 1e-12);
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
