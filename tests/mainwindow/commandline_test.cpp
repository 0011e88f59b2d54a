// The desktop program's command line: parsing, help and version without a display, and the
// files it opens.
#include "mainwindow/commandline.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <cerrno>
#include <filesystem>

#include "circuit/circcalc.h"
#include "circuit/circuitfile.h"
#include "circuitwindow/circuitc.h"
#include "dialogs/helppage.h"
#include "mainwindow/mainwindow_support.h"

namespace zeigora {
namespace {

using TAction = TCommandLine::TAction;
using Strings = std::vector<std::string>;

TEST(CommandLineTest, FilesOptionsAndTheEndOfOptions) {
    struct {
        Strings Args;
        TAction Action;
        Strings Files;
    } const cases[] = {
        {{}, TAction::Run, {}},
        {{"a.zgf", "b.zgs"}, TAction::Run, {"a.zgf", "b.zgs"}},
        {{"a.zgf", "--version"}, TAction::Version, {}},
        {{"-x", "-h"}, TAction::Help, {}},  // answered even beside an option Qt takes
        {{"-x", "a.zgf"}, TAction::Refuse, {}},
        {{"--", "-h", "-"}, TAction::Run, {"-h", "-"}},
        {{"-"}, TAction::Run, {"-"}},
    };
    for (const auto& c : cases) {
        const TCommandLine line = ParseCommandLine(c.Args);
        EXPECT_EQ(line.Action, c.Action) << testing::PrintToString(c.Args);
        EXPECT_EQ(line.Files, c.Files) << testing::PrintToString(c.Args);
    }
    EXPECT_EQ(ParseCommandLine({"--bunt"}).Problem, "Unbekannte Option \"--bunt\".");
    EXPECT_TRUE(IsCircuitFile("/x/Schaltung.ZGS"));
    EXPECT_FALSE(IsCircuitFile("zgs"));
}

struct TRun {
    int Exit;
    QString Out;
    QString Err;
};

TRun RunProgram(const QStringList& args, bool display) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (display) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZEIGORA_PROGRAM), args);
    EXPECT_TRUE(program.waitForFinished(30000));
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

TEST(CommandLineTest, HelpAndVersionNeedNoDisplay) {
    const TRun help = RunProgram({QStringLiteral("--help")}, false);
    EXPECT_EQ(help.Exit, 0);
    EXPECT_TRUE(help.Out.startsWith(QStringLiteral("Aufruf: zeigora [DATEI...]\n")))
        << help.Out.toStdString();
    EXPECT_TRUE(help.Out.contains(QStringLiteral("Gaußschen")));
    const TRun version = RunProgram({QStringLiteral("-v")}, false);
    EXPECT_EQ(version.Exit, 0);
    EXPECT_EQ(version.Out, QStringLiteral("zeigora 3.0\n"));
    const TRun refused = RunProgram({QStringLiteral("--bunt")}, true);
    EXPECT_EQ(refused.Exit, 2);
    EXPECT_EQ(refused.Err,
              QStringLiteral("zeigora: Unbekannte Option \"--bunt\".\nHilfe: zeigora --help\n"));
}

// Started from the build folder, the program finds the source tree's help page from anywhere.
TEST(HelpPageLookupTest, ProgramInTheBuildFolderFindsTheSourcePage) {
    QTemporaryDir elsewhere;
    const std::filesystem::path program(ZEIGORA_PROGRAM);
    const std::string found =
        FindHelpPageFrom(elsewhere.path().toStdString(), program.parent_path());
    ASSERT_FALSE(found.empty());
    EXPECT_TRUE(std::filesystem::equivalent(
        found, std::filesystem::path(ZEIGORA_SOURCE_DIR) / "Doku" / "index.html"));
}

using StartFilesTest = test::TMainWindowTest;

TEST_F(StartFilesTest, PhasorFilesInTurnThenTheLastCircuit) {
    TPhasorArray phasors(1);
    phasors[0].Name = "Netz";
    phasors[0].Definition = "230";
    ASSERT_TRUE(SavePhasorsToFile(phasors, InFolder("netz.zgf")).Ok());
    std::unique_ptr<TCircuitElementGroup> circuit = MakeDefaultCircuit();
    circuit->Items(0)->Name = "Vorwiderstand";
    ASSERT_TRUE(SaveCircuitToFile(*circuit, InFolder("kreis.zgs")).Ok);

    const std::string missing = InFolder("fehlt.zgf");
    Dialogs.ExpectError(PhasorFileErrorText(TPhasorFileError::ReadFailed, missing, ENOENT));
    std::string shownCircuit;
    bool undoable = true;
    test::WhenModal<TCircuitCalculationForm>([&](TCircuitCalculationForm& form) {
        shownCircuit = form.OuterGroup->Items(0)->Name.Str();
        undoable = form.findChild<QAction*>(QStringLiteral("UndoAction"))->isEnabled();
    });
    OpenStartFiles(*Form,
                   {InFolder("netz.zgf"), InFolder("nicht.zgs"), missing, InFolder("kreis.zgs")});
    ASSERT_EQ(Form->Phasors.size(), 1u);
    EXPECT_EQ(Form->Phasors[0].Name.Str(), "Netz");
    EXPECT_EQ(shownCircuit, "Vorwiderstand");
    EXPECT_FALSE(undoable);  // the circuit named at the start is the history's start
}

}  // namespace
}  // namespace zeigora
