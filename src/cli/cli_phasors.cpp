// zeigora-cli phasors: loads a phasor file, recalculates it and lists every phasor.
#include <string>

#include "cli/cli_common.h"
#include "phasors/recalc.h"

namespace zeigora::cli {

namespace {

std::string TsvLine(std::size_t index, const TPhasor& p) {
    const TComplex& v = p.Value;
    return IntText(static_cast<long long>(index)) + "\t" + TsvField(ToUtf8(p.Name.View())) + "\t" +
           TsvField(ToUtf8(p.Definition.View())) + "\t" + NumberText(v.Re) + "\t" +
           NumberText(v.Im) + "\t" + NumberText(v.Abs) + "\t" + NumberText(v.Phase) + "\t" +
           IntText(p.ErrorCode) + "\t" + TsvField(ToUtf8(p.ErrorText.View())) + "\n";
}

std::string JsonObject(std::size_t index, const TPhasor& p) {
    const TComplex& v = p.Value;
    return "{\"index\": " + IntText(static_cast<long long>(index)) +
           ", \"name\": " + JsonString(ToUtf8(p.Name.View())) +
           ", \"definition\": " + JsonString(ToUtf8(p.Definition.View())) +
           ", \"re\": " + JsonNumber(v.Re) + ", \"im\": " + JsonNumber(v.Im) +
           ", \"abs\": " + JsonNumber(v.Abs) + ", \"phase\": " + JsonNumber(v.Phase) +
           ", \"errorCode\": " + IntText(p.ErrorCode) +
           ", \"errorText\": " + JsonString(ToUtf8(p.ErrorText.View())) + "}";
}

void PrintJson(const TPhasorArray& phasors) {
    if (phasors.empty()) {
        Out("[]\n");
        return;
    }
    Out("[\n");
    for (std::size_t i = 0; i < phasors.size(); ++i)
        Out("  " + JsonObject(i, phasors[i]) + (i + 1 < phasors.size() ? ",\n" : "\n"));
    Out("]\n");
}

int RunPhasors(const TCommandLine& line) {
    TPhasorArray phasors;
    if (!LoadPhasorsOrReport(line, phasors, line.Arguments()[0])) return ExitUsage;
    RecalculateAll(phasors);
    if (line.Has("--json")) {
        PrintJson(phasors);
    } else {
        for (std::size_t i = 0; i < phasors.size(); ++i)
            Out(TsvLine(i, phasors[i]));
    }
    return ExitOk;
}

constexpr TOption PhasorsOptions[] = {
    {"--json", "",
     "ein JSON-Feld mit einem Objekt je Zeiger und den Feldern index, name,\n"
     "definition, re, im, abs, phase, errorCode, errorText; nicht endliche Werte\n"
     "sind die Texte \"nan\", \"inf\", \"-inf\""},
};

}  // namespace

extern const TCommand PhasorsCommand{
    .Name = "phasors",
    .Summary = "lädt eine Zeigerdatei (.zgf), berechnet sie neu und listet ihre Zeiger",
    .Arguments = "DATEI.zgf",
    .MinArguments = 1,
    .MaxArguments = 1,
    .Options = PhasorsOptions,
    .Description =
        "Lädt eine Zeigerdatei, berechnet alle Zeiger neu, wie das Programm vor dem Zeichnen,\n"
        "und gibt je Zeiger eine Zeile mit diesen durch Tabulatoren getrennten Feldern aus:\n\n"
        "  Index, Name, Definition, Realteil, Imaginärteil, Betrag, Winkel im Bogenmaß,\n"
        "  Fehlercode, Fehlertext\n\n"
        "Ein konstanter Zeiger hat eine leere Definition. Fehlercode 0 heißt kein Fehler, -1\n"
        "ungültiger Name, -2 Zirkelbezug, jeder andere Wert die Stelle eines Syntaxfehlers.\n"
        "Texte sind UTF-8; Backslash, Tabulator, CR und LF stehen in ihnen als \\\\, \\t, \\r, "
        "\\n.\n"
        "Zahlen stehen in der kürzesten Form, die genau zurück gelesen wird, mit '.' als\n"
        "Dezimalpunkt; nan, inf, -inf für nicht endliche Werte.\n",
    .ExitStatus =
        "0 aufgelistet (Zeigerfehler gehören zur Liste), 2 falscher Aufruf\n"
        "oder unlesbare Datei",
    .Run = RunPhasors,
};

}  // namespace zeigora::cli
