// zeigora-cli eval: evaluates expressions of the phasor definition language.
#include <cstdio>
#include <string>

#include "cli/cli_common.h"
#include "complex/cp1252text.h"
#include "parser/complexParser.h"
#include "phasors/recalc.h"
#include "platform/cp1252.h"

namespace zeigora::cli {

namespace {

constexpr std::size_t MaxExpressionLength = 255;
// A UTF-8 character takes at most 4 bytes, so a longer line cannot be a usable expression; the
// rest of such a line is skipped unread.
constexpr std::size_t MaxLineBytes = 4 * MaxExpressionLength + 1;  // + a CR

struct TResult {
    std::string Expression;  // UTF-8, as given
    bool Ok = false;
    TComplex Value{};
    std::string Error;  // UTF-8
};

std::string TooLongText() {
    return ToUtf8("Der Ausdruck ist länger als 255 Zeichen."_cp);
}

TResult Evaluate(const std::string& utf8, const TPhasorArray& phasors) {
    TResult r;
    r.Expression = utf8;
    const std::string text = Utf8ToCp1252(utf8);
    if (text.size() > MaxExpressionLength) {
        r.Error = TooLongText();
        return r;
    }
    const Expression expr = Parse(text, phasors);
    if (expr.Failed) {
        r.Error = ToUtf8(SyntaxErrorText(expr.ErrorPos, expr.ErrorKind));
        return r;
    }
    try {
        r.Value = EvalExpr(expr, phasors);
        r.Ok = true;
    } catch (const EvalError& e) {
        r.Error = ToUtf8(e.what());
    }
    return r;
}

std::string TsvLine(const TResult& r) {
    if (!r.Ok) return "error\t" + r.Error + "\n";
    const TComplex& z = r.Value;
    return NumberText(z.Re) + "\t" + NumberText(z.Im) + "\t" + NumberText(z.Abs) + "\t" +
           NumberText(z.Phase) + "\n";
}

std::string JsonObject(const TResult& r) {
    const TComplex& z = r.Value;
    auto number = [&r](double x) { return r.Ok ? JsonNumber(x) : std::string("null"); };
    return "{\"expression\": " + JsonString(r.Expression) + ", \"re\": " + number(z.Re) +
           ", \"im\": " + number(z.Im) + ", \"abs\": " + number(z.Abs) +
           ", \"phase\": " + number(z.Phase) + ", \"error\": " + JsonString(r.Error) + "}";
}

// Prints results as they come: one line each, or the elements of a JSON array.
class TPrinter {
  public:
    explicit TPrinter(bool json) : Json_(json) {}
    void Print(const TResult& r) {
        if (Json_) Out(Count_ == 0 ? "[\n  " : ",\n  ");
        Out(Json_ ? JsonObject(r) : TsvLine(r));
        ++Count_;
    }
    void Finish() const {
        if (Json_) Out(Count_ == 0 ? "[]\n" : "\n]\n");
    }

  private:
    bool Json_;
    std::size_t Count_ = 0;
};

enum class TLine { End, Usable, TooLong };

// One line of standard input without its line end (and a CR before it). Keeps at most
// MaxLineBytes of it. One thread reads, so the stream needs no lock per character.
TLine ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    bool tooLong = false;
    int c;
    while ((c = getc_unlocked(in)) != EOF && c != '\n') {
        if (line.size() < MaxLineBytes)
            line += static_cast<char>(c);
        else
            tooLong = true;
    }
    if (c == EOF && line.empty() && !tooLong) return TLine::End;
    if (!line.empty() && line.back() == '\r' && !tooLong) line.pop_back();
    return tooLong || line.size() >= MaxLineBytes ? TLine::TooLong : TLine::Usable;
}

int RunEval(const TCommandLine& line) {
    const std::string phasorFile = line.Value("--phasors");
    if (phasorFile == "-" && line.Arguments().empty())
        return line.Refuse(
            "Ohne AUSDRUCK liest eval die Ausdrücke von der Standardeingabe; die Zeigerdatei kann "
            "dann nicht auch \"-\" sein.");
    TPhasorArray phasors;
    if (line.Has("--phasors")) {
        if (!LoadPhasorsOrReport(line, phasors, phasorFile)) return ExitUsage;
        RecalculateAll(phasors);
    }
    bool allOk = true;
    TPrinter printer(line.Has("--json"));
    auto evaluate = [&](const std::string& expr) {
        const TResult r = Evaluate(expr, phasors);
        allOk = allOk && r.Ok;
        printer.Print(r);
    };
    if (!line.Arguments().empty()) {
        for (const std::string& e : line.Arguments())
            evaluate(e);
    } else {
        std::string input;
        for (TLine l; (l = ReadLine(stdin, input)) != TLine::End;) {
            if (l == TLine::Usable) {
                evaluate(input);
            } else {
                allOk = false;
                printer.Print(TResult{input, false, {}, TooLongText()});
            }
        }
    }
    printer.Finish();
    return allOk ? ExitOk : ExitFailed;
}

constexpr TOption EvalOptions[] = {
    {"--phasors", "DATEI.zgf",
     "die Ausdrücke dürfen die Zeiger dieser Datei nennen; sie werden\nvorher neu berechnet"},
    {"--json", "", "JSON statt Zeilen mit Tabulatoren"},
};

}  // namespace

extern const TCommand EvalCommand{
    .Name = "eval",
    .Summary = "berechnet Ausdrücke der Ausdruckssprache",
    .Arguments = "[AUSDRUCK...]",
    .MinArguments = 0,
    .MaxArguments = -1,
    .Options = EvalOptions,
    .Description =
        "Berechnet jeden Ausdruck (etwa '1+2j', 'e^(j*pi)+1', '230*e^(j*30°)') und gibt je\n"
        "Ausdruck eine Zeile aus: Realteil, Imaginärteil, Betrag und Winkel im Bogenmaß\n"
        "[0, 2*pi), durch Tabulatoren getrennt. Zahlen stehen in der kürzesten Form, die\n"
        "genau zurück gelesen wird, mit '.' als Dezimalpunkt; nan, inf, -inf für nicht endliche\n"
        "Werte. Ein fehlerhafter Ausdruck gibt 'error', einen Tabulator und die Meldung aus.\n"
        "Ohne AUSDRUCK werden die Ausdrücke zeilenweise von der Standardeingabe gelesen.\n"
        "Ein Ausdruck hat höchstens 255 Zeichen, wie eine Zeigerdefinition.\n"
        "Nur -h und Argumente, die mit '--' beginnen, sind Optionen; '-1+j' ist ein Ausdruck.\n"
        "\n"
        "Mit --json erscheint ein JSON-Feld mit einem Objekt je Ausdruck und den Feldern\n"
        "expression, re, im, abs, phase (null bei einem Fehler) und error (leer ohne Fehler).\n",
    .ExitStatus =
        "0 alle Ausdrücke berechnet, 1 einer schlug fehl, 2 falscher Aufruf\n"
        "oder unlesbare Zeigerdatei",
    .OnlyLongOptions = true,
    .Run = RunEval,
};

}  // namespace zeigora::cli
