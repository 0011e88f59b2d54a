// Runs the built zeigora-cli and checks its exact output and its refusals.
#include "cli_support.h"

namespace zeigora::test {
namespace {

const std::string OnePlus2j = "1.0000000000000002\t2\t2.23606797749979\t1.1071487177940904\n";

TEST_F(CliTest, EvalPrintsOneLinePerExpression) {
    // 2j is a polar product: Re 2*cos(pi/2) = 1.2e-16 is added to 1.
    TCliRun r = Run({"eval", "1+2j", "Zeiger1", std::string(256, '1'), "sin(", "2", "1/0"});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out, OnePlus2j +
                         "error\tSyntaxfehler (7): Unbekannter Zeiger\n"
                         "error\tDer Ausdruck ist l\xC3\xA4nger als 255 Zeichen.\n"
                         "error\tSyntaxfehler (4): Unvollst\xC3\xA4ndiger Ausdruck\n"
                         "2\t0\t2\t0\ninf\tnan\tinf\t0\n");
    EXPECT_EQ(r.Err, "");

    r = Run({"eval", "--phasors", StartFile}, "Summe*2\r\n230*e^(j*30\xC2\xB0)\nZeiger1\n");
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out,
              "2\t0\t2\t0\n"
              "199.18584287042088\t115\t230\t0.5235987755982989\n"
              "2\t-1\t2.23606797749979\t5.81953769817878\n");
}

TEST_F(CliTest, PhasorsListsErrorsAndNonFiniteValuesAsTsvOrJson) {
    // The last two phasors of the start file: "Zeiger\xE4" and a failing "(eiger1+Zeiger2".
    std::string bytes = ReadBytes(StartFile).substr(832);
    bytes[297 + 832] = '(';
    bytes[0] = 7;
    bytes[1 + 6] = '\xE4';
    WriteBytes(PathOf("errors.zgf"), bytes);
    TCliRun r = Run({"phasors", PathOf("errors.zgf")});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out,
              "0\tZeiger\xC3\xA4\t\t-1\t1\t1.4142135623730951\t2.356194490192345\t-1\t"
              "Ung\xC3\xBCltiger Zeigername\n1\tSumme\t(eiger1+Zeiger2\tnan\tnan\tnan\tnan\t7\t"
              "Syntaxfehler (7): Unbekannter Zeiger\n");
    r = Run({"phasors", "--json", PathOf("errors.zgf")});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out,
              "[\n"
              "  {\"index\": 0, \"name\": \"Zeiger\xC3\xA4\", \"definition\": \"\", \"re\": -1, "
              "\"im\": 1, \"abs\": 1.4142135623730951, \"phase\": 2.356194490192345, "
              "\"errorCode\": -1, \"errorText\": \"Ung\xC3\xBCltiger Zeigername\"},\n"
              "  {\"index\": 1, \"name\": \"Summe\", \"definition\": \"(eiger1+Zeiger2\", "
              "\"re\": \"nan\", \"im\": \"nan\", \"abs\": \"nan\", \"phase\": \"nan\", "
              "\"errorCode\": 7, \"errorText\": \"Syntaxfehler (7): Unbekannter Zeiger\"}\n"
              "]\n");
}

TEST_F(CliTest, BadUseIsRefusedAndWritesNothing) {
    const std::string shortFile = PathOf("short.zgf"), missing = PathOf("missing.zgf");
    const std::string& zgs = Zgs;
    const std::string junk = PathOf("junk.zgs"), png = PathOf("a.png");
    WriteBytes(shortFile, "12345");
    std::ofstream(junk) << "keine Schaltung";
    // Exit 2 (1 for a failed write), no output, a message naming the command: its first line
    // whole with the line end, else its start.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"phasors", shortFile},
         "zeigora-cli phasors: Die Datei \"" + shortFile +
             "\" ist keine Zeigora-Datei (die L\xC3\xA4nge ist kein Vielfaches von 832 Bytes).\n"},
        {{"phasors", missing},
         "zeigora-cli phasors: Die Datei \"" + missing +
             "\" konnte nicht gelesen werden: Datei oder Verzeichnis nicht gefunden.\n"},
        {{"circuit", junk},
         "zeigora-cli circuit: Die Datei \"" + junk + "\" ist keine g\xC3\xBCltige"},
        {{"circuit", PathOf("missing.zgs")},
         "circuit: Die Datei \"" + PathOf("missing.zgs") + "\" konnte nicht gelesen werden: "},
        {{"circuit", "--frequency=0", zgs}, "circuit: Die Frequenz darf nicht 0 sein.\n"},
        {{"circuit", "--voltage", "1+", zgs},
         "circuit: Spannung \"1+\": Syntaxfehler (2): Unvollst\xC3\xA4ndiger Ausdruck\n"},
        {{"circuit"}, "circuit: Es fehlt ein Argument: DATEI.zgs.\n"},
        {{"circuit", zgs, zgs}, "circuit: Zu viele Argumente (2)"},
        {{"render", StartFile}, "render: Die Option \"-o AUSGABE\" fehlt.\n"},
        {{"render", StartFile, "-o", PathOf("a.jpg")}, "render: AUSGABE muss auf .bmp, .png"},
        {{"render", StartFile, "-o", png, "--size", "0x5"},
         "render: Ung\xC3\xBCltiger Wert f\xC3\xBCr --size: \"0x5\".\n"},
        {{"render", StartFile, "-o" + png, "--addition=1"},
         "render: Die Option \"--addition\" nimmt keinen Wert.\n"},
        {{"render", StartFile, "-o", png, "--grid"},
         "render: Die Option \"--grid\" braucht einen Wert (--grid RExIM).\n"},
        {{"diagram", zgs, "--out=" + png}, "diagram: Unbekannte Option \"--out\".\n"},
        {{"eval", "--phasors", "-"}, "eval: Ohne AUSDRUCK liest eval"},
        {{"zeichne"}, "zeigora-cli: Unbekannter Befehl \"zeichne\".\n"},
        {{"circuit", "-"}, "circuit: Die Datei \"-\" ist keine g\xC3\xBCltige"},
        {{"sweep", zgs, "--from", "0", "--to", "1k"}, "sweep: Eine logarithmische Reihe braucht"},
        {{"sweep", zgs, "--from", "1", "--to", "1k", "--element", "5"},
         "sweep: \"5\" ist kein Index eines Bauteils (0 bis 4).\n"},
        {{"sweep", zgs, "--from", "1", "--to", "1k", "--vary", "2", "--frequency", "50"},
         "sweep: --vary braucht einen Widerstand, einen Kondensator oder eine Spule, keine "
         "Gruppe.\n"},
        {{"sweep", zgs, "--from", "1", "--to", "1k", "--vary", "1"},
         "sweep: --frequency und --vary geh\xC3\xB6ren zusammen.\n"},
        {{"sweep", zgs, "--from", "1", "--to", "1k", "--points", "1"},
         "sweep: \"1\" ist keine Punktzahl (2 bis 1000000).\n"},
        {{"sweep", zgs, "--from", "1", "--to", "1k", "--quantity", "P"},
         "sweep: --quantity muss Z, Y, U, I oder S sein.\n"},
        {{"sweep", zgs, "--from", "1", "--to", "1k", "-o", PathOf("x.gif")},
         "sweep: BILD muss auf .bmp, .png, .emf oder .svg enden.\n"},
        {{"render", StartFile, "-o", PathOf("no/such/dir/a.png")},
         "render: Die Datei \"" + PathOf("no/such/dir/a.png") +
             "\" konnte nicht gespeichert werden: Datei oder Verzeichnis nicht gefunden.\n"},
    };
    for (const auto& [args, message] : cases) {
        const TCliRun r = Run(args);
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(r.ExitCode, !args.empty() && args.back().ends_with("dir/a.png") ? 1 : 2);
        EXPECT_EQ(r.Out, "");
        const std::string expected =
            message.starts_with("zeigora-cli") ? message : "zeigora-cli " + message;
        EXPECT_EQ(r.Err.substr(0, expected.size()), expected);
    }
    EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace zeigora::test
