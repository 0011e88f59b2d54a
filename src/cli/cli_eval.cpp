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

constexpr std::string_view EvalUsage = "usage: zeigora-cli eval [--phasors FILE.zgf] [EXPR...]\n";

// Help texts are UTF-8, written straight to the terminal.
constexpr std::string_view EvalHelp =
    "usage: zeigora-cli eval [--phasors FILE.zgf] [EXPR...]\n"
    "\n"
    "Evaluates each expression (e.g. '1+2j', 'e^(j*pi)+1', '230*e^(j*30°)') and prints one\n"
    "line per expression: real part, imaginary part, magnitude and angle in radians\n"
    "[0, 2*pi), separated by tabs. Numbers are written in the shortest form that reads back\n"
    "exactly, with '.' as decimal point; non-finite values as nan, inf, -inf.\n"
    "A failing expression prints 'error', a tab and the German error message.\n"
    "Without EXPR arguments the expressions are read from standard input, one per line.\n"
    "Expressions are at most 255 characters long, as phasor definitions are.\n"
    "\n"
    "options:\n"
    "  --phasors FILE.zgf  names of this phasor file may be used; its phasors are\n"
    "                      recalculated first\n"
    "  --                  all further arguments are expressions (e.g. '--1')\n"
    "  --help              this text\n"
    "\n"
    "Arguments that do not start with '--' are expressions, so '-1+j' needs no '--'.\n"
    "exit status: 0 all expressions evaluated, 1 some failed, 2 usage error or\n"
    "unreadable phasor file\n";

constexpr std::size_t MaxExpressionLength = 255;

struct TEvalOptions {
    std::string PhasorFile;
    TArgs Expressions;
    bool Help = false;
};

// Returns ExitOk, or the exit code of a usage error already reported.
int ParseEvalArgs(const TArgs& args, TEvalOptions& opt) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.rfind("--", 0) != 0) {
            opt.Expressions.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help") {
            opt.Help = true;
        } else if (a == "--phasors") {
            if (i + 1 >= args.size())
                return UsageError("eval", "--phasors needs a file", EvalUsage);
            opt.PhasorFile = args[++i];
        } else if (a.rfind("--phasors=", 0) == 0) {
            opt.PhasorFile = a.substr(10);
        } else {
            return UsageError("eval", "unknown option " + a, EvalUsage);
        }
    }
    return ExitOk;
}

// One output line, without the newline; false if the expression failed.
bool EvaluateLine(const std::string& utf8, const TPhasorArray& phasors, std::string& line) {
    const std::string text = Utf8ToCp1252(utf8);
    if (text.size() > MaxExpressionLength) {
        line = "error\t" + ToUtf8("Der Ausdruck ist länger als 255 Zeichen."_cp);
        return false;
    }
    const Expression expr = Parse(text, phasors);
    if (expr.Failed) {
        line = "error\t" + ToUtf8(SyntaxErrorText(expr.ErrorPos, expr.ErrorKind));
        return false;
    }
    try {
        const TComplex z = EvalExpr(expr, phasors);
        line = NumberText(z.Re) + "\t" + NumberText(z.Im) + "\t" + NumberText(z.Abs) + "\t" +
               NumberText(z.Phase);
        return true;
    } catch (const EvalError& e) {
        line = "error\t" + ToUtf8(e.what());
        return false;
    }
}

bool ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    int c;
    while ((c = std::fgetc(in)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (c == EOF && line.empty()) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

int RunEval(const TArgs& args) {
    TEvalOptions opt;
    if (const auto rc = StartCommand(args, opt, ParseEvalArgs, EvalHelp)) return *rc;
    TPhasorArray phasors;
    if (!opt.PhasorFile.empty()) {
        if (!LoadPhasorsOrReport(phasors, opt.PhasorFile)) return ExitUsage;
        RecalculateAll(phasors);
    }
    bool allOk = true;
    std::string line;
    auto evalOne = [&](const std::string& expr) {
        allOk = EvaluateLine(expr, phasors, line) && allOk;
        Out(line + "\n");
    };
    if (!opt.Expressions.empty()) {
        for (const std::string& e : opt.Expressions)
            evalOne(e);
    } else {
        std::string input;
        while (ReadLine(stdin, input))
            evalOne(input);
    }
    return allOk ? ExitOk : ExitFailed;
}

}  // namespace zeigora::cli
