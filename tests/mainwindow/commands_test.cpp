// The document commands of the main window, driven through its actions and combos.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstring>
#include <fstream>

#include "dialogs/paintboxwidget.h"
#include "mainform_support.h"
#include "mainwindow/phasorcombo.h"
#include "phasors/phasorfile.h"
#include "platform/cp1252.h"

namespace zeigora {
namespace {

const char OpenQuestion[] =
    "Warnung: alle Zeiger werden gel\xF6scht, wenn Sie Zeiger aus einer Datei laden. "
    "Fortfahren?";
const char DeleteQuestion[] = "Sind Sie sicher, dass Sie diesen Zeiger l\xF6schen wollen?";

using MainFormCommandsTest = MainFormTest;

TEST_F(MainFormCommandsTest, StartsWithTwoPhasorsAndNothingSelected) {
    ASSERT_EQ(Names(), (std::vector<std::string>{"Zeiger1", "Zeiger2"}));
    const TPhasor& z1 = Form->Phasors[0];
    const TPhasor& z2 = Form->Phasors[1];
    EXPECT_EQ(z1.Color, 0x0000FFu);
    EXPECT_EQ(z2.Color, 0xFF0000u);
    EXPECT_EQ(z1.Value.Re, 2.0);
    EXPECT_EQ(z1.Value.Im, -1.0);
    EXPECT_EQ(z2.Value.Re, -1.0);
    EXPECT_EQ(z2.Value.Im, 1.0);
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "Kein");
    EXPECT_EQ(Combo("SelectedPhasorComboBox")->count(), 3);
    auto* combo = Form->findChild<TPhasorComboBox*>("SelectedPhasorComboBox");
    EXPECT_EQ(combo->ItemColor(0), 0u);  // "Kein" in black, each phasor in its colour
    EXPECT_EQ(combo->ItemColor(1), 0x0000FFu);
    EXPECT_EQ(combo->ItemColor(2), 0xFF0000u);
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_FALSE(PhasorCommandsEnabled());
    EXPECT_EQ(ToCp1252(Form->windowTitle()), "Lumtrek Zeigora 3.0 Public Alpha");
    EXPECT_EQ(Form->width(), 608);
    EXPECT_EQ(Form->height(), 545);
    EXPECT_EQ(Form->PaintBox1->width(), 600);
    EXPECT_EQ(Form->StatusText(3), "Re1: 0,0");
}

TEST_F(MainFormCommandsTest, NewPhasorsAreNumberedByTheListLength) {
    Action("NewPhasorButton")->trigger();
    Action("NewPhasorButton")->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Zeiger1", "Zeiger2", "Zeiger3", "Zeiger4"}));
    EXPECT_EQ(PhasorDialogCalls, (std::vector<int>{2, 3}));
    EXPECT_EQ(Form->SelectedIndex(), 3);
    EXPECT_TRUE(PhasorCommandsEnabled());

    Form->SelectPhasor(&Form->Phasors[2]);
    Dialogs.ExpectYesNo(DeleteQuestion, true);
    Action("DeletePhasor")->trigger();
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    Action("NewPhasor")->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Zeiger1", "Zeiger2", "Zeiger4", "Zeiger4"}));
}

TEST_F(MainFormCommandsTest, DuplicateCopiesEveryFieldButTheName) {
    Form->SelectPhasor(&Form->Phasors[0]);
    Action("DuplicatePhasor")->trigger();
    ASSERT_EQ(Form->Phasors.size(), 3u);
    const TPhasor& original = Form->Phasors[0];
    const TPhasor& copy = Form->Phasors[2];
    EXPECT_EQ(copy.Name.Str(), "KopieVonZeiger1");
    EXPECT_EQ(Form->SelectedIndex(), 2);
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "KopieVonZeiger1");
    const auto afterName = offsetof(TPhasor, NameVisible);
    EXPECT_EQ(
        std::memcmp(reinterpret_cast<const char*>(&original) + afterName,
                    reinterpret_cast<const char*>(&copy) + afterName, sizeof(TPhasor) - afterName),
        0);
}

TEST_F(MainFormCommandsTest, ChoosingKeinClearsTheSelection) {
    QComboBox* combo = Combo("SelectedPhasorComboBox");
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(Form->SelectedIndex(), 1);
    EXPECT_TRUE(PhasorCommandsEnabled());
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_FALSE(PhasorCommandsEnabled());
}

TEST_F(MainFormCommandsTest, OpenAnsweredNeinOrCancelledKeepsThePhasors) {
    Form->SelectPhasor(&Form->Phasors[1]);
    Dialogs.ExpectYesNo(OpenQuestion, false);
    Action("OpenFileButton")->trigger();
    EXPECT_EQ(Form->SelectedIndex(), 1);
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "Zeiger2");

    Dialogs.ExpectYesNo(OpenQuestion, true);
    Dialogs.ExpectFile(TDialogKind::OpenFile, std::nullopt);
    Action("OpenFile")->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Zeiger1", "Zeiger2"}));
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "Kein");
}

TEST_F(MainFormCommandsTest, FailedOpenKeepsThePhasorsAndSaysWhy) {
    QTemporaryDir folder;
    const std::string name = QDir(folder.path()).filePath("kaputt.zgf").toStdString();
    std::ofstream(name, std::ios::binary) << "not a phasor file";
    Dialogs.ExpectYesNo(OpenQuestion, true);
    Dialogs.ExpectFile(TDialogKind::OpenFile, TFileChoice{name, 1});
    Dialogs.ExpectError(PhasorFileErrorText(TPhasorFileError::BadLength, name));
    Action("OpenFileButton")->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Zeiger1", "Zeiger2"}));
}

TEST_F(MainFormCommandsTest, SaveWritesTheFileAndReportsAFailure) {
    QTemporaryDir folder;
    const std::string good = QDir(folder.path()).filePath("zeiger.zgf").toStdString();
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{good, 1});
    Action("SaveFileButton")->trigger();
    TPhasorArray loaded;
    ASSERT_TRUE(LoadPhasorsFromFile(loaded, good).Ok());
    EXPECT_EQ(loaded.size(), 2u);

    const std::string bad = QDir(folder.path()).filePath("fehlt/zeiger.zgf").toStdString();
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{bad, 1});
    Dialogs.ExpectError(PhasorFileErrorText(TPhasorFileError::WriteFailed, bad));
    Action("SaveFile")->trigger();
}

TEST_F(MainFormCommandsTest, DeletingTheLastPhasorLeavesAnEmptyPlane) {
    Form->SelectPhasor(&Form->Phasors[0]);
    Dialogs.ExpectYesNo(DeleteQuestion, true);
    Action("DeletePhasorButton")->trigger();
    Form->SelectPhasor(&Form->Phasors[0]);
    Dialogs.ExpectYesNo(DeleteQuestion, true);
    Action("DeletePhasorButton")->trigger();
    EXPECT_TRUE(Form->Phasors.empty());
    EXPECT_EQ(Combo("SelectedPhasorComboBox")->count(), 1);
    Frame();
    EXPECT_TRUE(Form->View.DrawnPhasors.empty());
    EXPECT_EQ(Form->StatusText(7), "");
}

TEST_F(MainFormCommandsTest, ToolBarTogglesSetBothCheckMarks) {
    Action("PhasorSettings2")->trigger();
    EXPECT_FALSE(Form->PhasorToolBarVisible);
    EXPECT_FALSE(Action("PhasorSettings1")->isChecked());
    EXPECT_FALSE(Action("PhasorSettings2")->isChecked());
    EXPECT_TRUE(Form->findChild<QWidget*>("PhasorToolBar")->isHidden());
    Action("PhasorSettings1")->trigger();
    EXPECT_TRUE(Action("PhasorSettings1")->isChecked());
    EXPECT_TRUE(Action("PhasorSettings2")->isChecked());
    EXPECT_FALSE(Form->findChild<QWidget*>("PhasorToolBar")->isHidden());
}

TEST_F(MainFormCommandsTest, ErrorListEntryOpensTheFaultyPhasor) {
    Form->Phasors[1].Definition = "Zeiger1+";
    Frame();
    ASSERT_EQ(Form->ErrorEntries().size(), 1u);
    EXPECT_EQ(Form->StatusText(7), "1 Fehler (hier rechtsklicken)");
    Form->ErrorClick(Form->ErrorEntries()[0].PhasorIndex);
    EXPECT_EQ(PhasorDialogCalls, (std::vector<int>{1}));
    EXPECT_EQ(Form->SelectedIndex(), 1);
}

TEST_F(MainFormCommandsTest, HelpOpensThePageAndReportsAFailure) {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("Doku");
    std::ofstream(QDir(folder.path()).filePath("Doku/index.html").toStdString()) << "<html/>";
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::OpenDocument, "Doku/index.html", true));
    Action("Help")->trigger();
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::OpenDocument, "Doku/index.html", false));
    Dialogs.ExpectError(
        "Fehler beim Starten der Hilfe. Bitte klicken Sie die Datei index.html im Ordner Doku "
        "doppelt.");
    Action("Help")->trigger();
    QDir::setCurrent(previous);
}

TEST_F(MainFormCommandsTest, InfoNamesTheVersionFirst) {
    Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Information));
    Action("Info")->trigger();
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Shown()[0].Text.rfind("Zeigora 3.0 Public Alpha\n\n", 0), 0u);
}

}  // namespace
}  // namespace zeigora
