// The document commands of the main window, driven through its actions and combos.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <fstream>

#include "mainform_support.h"
#include "mainwindow/phasorcombo.h"
#include "phasors/phasorfile.h"

namespace zeigora {
namespace {

const char OpenQuestion[] =
    "Warnung: alle Zeiger werden gel\xF6scht, wenn Sie Zeiger aus einer Datei laden. "
    "Fortfahren?";
const char DeleteQuestion[] = "Sind Sie sicher, dass Sie diesen Zeiger l\xF6schen wollen?";

class MainFormCommandsTest : public MainFormTest {
  protected:
    void Delete(int index, const char* action = "DeletePhasorButton") {
        Form->SelectPhasor(&Form->Phasors[index]);
        Dialogs.ExpectYesNo(DeleteQuestion, true);
        Action(action)->trigger();
    }
    std::string InFolder(const char* name) const {
        return QDir(Folder.path()).filePath(name).toStdString();
    }
    QTemporaryDir Folder;
};

TEST_F(MainFormCommandsTest, StartsWithTwoPhasorsAndNothingSelected) {
    ASSERT_EQ(Names(), (Strings{"Zeiger1", "Zeiger2"}));
    const TPhasor &z1 = Form->Phasors[0], &z2 = Form->Phasors[1];
    EXPECT_EQ(std::make_tuple(z1.Color, z1.Value.Re, z1.Value.Im),
              std::make_tuple(0x0000FFu, 2.0, -1.0));
    EXPECT_EQ(std::make_tuple(z2.Color, z2.Value.Re, z2.Value.Im),
              std::make_tuple(0xFF0000u, -1.0, 1.0));
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "Kein");
    auto* combo = Child<TPhasorComboBox>("SelectedPhasorComboBox");
    ASSERT_EQ(combo->count(), 3);
    const std::uint32_t colors[] = {0, 0x0000FF, 0xFF0000};  // "Kein" in black
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(combo->ItemColor(i), colors[i]);
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_FALSE(PhasorCommandsEnabled());
    EXPECT_EQ(ToCp1252(Form->windowTitle()), "Lumtrek Zeigora 3.0 Public Alpha");
    EXPECT_EQ(Form->size(), QSize(608, 545));
    EXPECT_EQ(Form->PaintBox1->width(), 600);
    EXPECT_EQ(Form->StatusText(3), "Re1: 0,0");
    const std::pair<const char*, const char*> shortcuts[] = {
        {"NewFile", "Ctrl+N"},  {"ExitProgram", "Alt+X"}, {"Refresh", "F5"},
        {"SetWidth", "Ctrl+W"}, {"DeletePhasor", "Del"},  {"Help", "F1"}};
    for (const auto& [action, keys] : shortcuts)
        EXPECT_EQ(Action(action)->shortcut().toString(), keys) << action;
}

TEST_F(MainFormCommandsTest, NewPhasorsAreNumberedByTheListLength) {
    Action("NewPhasorButton")->trigger();
    Action("NewPhasorButton")->trigger();
    EXPECT_EQ(Names(), (Strings{"Zeiger1", "Zeiger2", "Zeiger3", "Zeiger4"}));
    EXPECT_EQ(PhasorDialogCalls, (std::vector<int>{2, 3}));
    EXPECT_EQ(Form->SelectedIndex(), 3);
    EXPECT_TRUE(PhasorCommandsEnabled());
    Delete(2, "DeletePhasor");
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    Action("NewPhasor")->trigger();
    EXPECT_EQ(Names(), (Strings{"Zeiger1", "Zeiger2", "Zeiger4", "Zeiger4"}));
}

TEST_F(MainFormCommandsTest, DuplicateCopiesEveryFieldButTheName) {
    Form->SelectPhasor(&Form->Phasors[0]);
    Action("DuplicatePhasor")->trigger();
    ASSERT_EQ(Form->Phasors.size(), 3u);
    EXPECT_EQ(Form->Phasors[2].Name.Str(), "KopieVonZeiger1");
    EXPECT_EQ(Form->SelectedIndex(), 2);
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "KopieVonZeiger1");
    const auto from = offsetof(TPhasor, NameVisible);
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&Form->Phasors[0]) + from,
                          reinterpret_cast<const char*>(&Form->Phasors[2]) + from,
                          sizeof(TPhasor) - from),
              0);
}

TEST_F(MainFormCommandsTest, ChoosingKeinClearsTheSelection) {
    QComboBox* combo = Combo("SelectedPhasorComboBox");
    for (int row : {2, 0}) {
        combo->setCurrentIndex(row);
        emit combo->activated(row);
        EXPECT_EQ(Form->SelectedIndex(), row - 1);
        EXPECT_EQ(PhasorCommandsEnabled(), row != 0);
    }
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
}

TEST_F(MainFormCommandsTest, OpenKeepsThePhasorsUnlessAFileIsRead) {
    Form->SelectPhasor(&Form->Phasors[1]);
    Dialogs.ExpectYesNo(OpenQuestion, false);
    Action("OpenFileButton")->trigger();
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "Zeiger2");

    Dialogs.ExpectYesNo(OpenQuestion, true);
    Dialogs.ExpectFile(TDialogKind::OpenFile, std::nullopt);
    Action("OpenFile")->trigger();
    EXPECT_EQ(Form->SelectedPhasor(), nullptr);
    EXPECT_EQ(ComboText("SelectedPhasorComboBox"), "Kein");

    const std::string broken = InFolder("kaputt.zgf");
    std::ofstream(broken, std::ios::binary) << "not a phasor file";
    Dialogs.ExpectYesNo(OpenQuestion, true);
    Dialogs.ExpectFile(TDialogKind::OpenFile, TFileChoice{broken, 1});
    Dialogs.ExpectError(PhasorFileErrorText(TPhasorFileError::BadLength, broken));
    Action("OpenFileButton")->trigger();
    EXPECT_EQ(Names(), (Strings{"Zeiger1", "Zeiger2"}));
}

TEST_F(MainFormCommandsTest, SaveWritesTheFileAndReportsAFailure) {
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{InFolder("zeiger.zgf"), 1});
    Action("SaveFileButton")->trigger();
    TPhasorArray loaded;
    ASSERT_TRUE(LoadPhasorsFromFile(loaded, InFolder("zeiger.zgf")).Ok());
    EXPECT_EQ(loaded.size(), 2u);

    const std::string bad = InFolder("fehlt/zeiger.zgf");
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{bad, 1});
    Dialogs.ExpectError(PhasorFileErrorText(TPhasorFileError::WriteFailed, bad));
    Action("SaveFile")->trigger();
}

TEST_F(MainFormCommandsTest, DeletingTheLastPhasorLeavesAnEmptyPlane) {
    Delete(0);
    Delete(0);
    EXPECT_TRUE(Form->Phasors.empty());
    EXPECT_EQ(Combo("SelectedPhasorComboBox")->count(), 1);
    Frame();
    EXPECT_TRUE(Form->View.DrawnPhasors.empty());
    EXPECT_EQ(Form->StatusText(7), "");
}

TEST_F(MainFormCommandsTest, ToolBarTogglesSetBothCheckMarks) {
    const std::pair<const char*, bool> steps[] = {{"PhasorSettings2", false},
                                                  {"PhasorSettings1", true}};
    for (const auto& [toggle, shown] : steps) {
        Action(toggle)->trigger();
        EXPECT_EQ(Form->PhasorToolBarVisible, shown);
        EXPECT_EQ(Action("PhasorSettings1")->isChecked(), shown);
        EXPECT_EQ(Action("PhasorSettings2")->isChecked(), shown);
        EXPECT_EQ(Child<QWidget>("PhasorToolBar")->isHidden(), !shown);
    }
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
    QDir(Folder.path()).mkdir("Doku");
    std::ofstream(InFolder("Doku/index.html")) << "<html/>";
    const QString previous = QDir::currentPath();
    QDir::setCurrent(Folder.path());
    for (bool opened : {true, false}) {
        Dialogs.Expect(
            TScriptedDialogs::Call(TDialogKind::OpenDocument, "Doku/index.html", opened));
        if (!opened)
            Dialogs.ExpectError(
                "Fehler beim Starten der Hilfe. Bitte klicken Sie die Datei index.html im Ordner "
                "Doku doppelt.");
        Action("Help")->trigger();
    }
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
