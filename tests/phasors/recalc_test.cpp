#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "parser/complexParser.h"
#include "phasors/phasor.h"
#include "phasors/recalc.h"

namespace zeigora {
namespace {

// Phasors by name and definition, with a value and stale working fields as a loaded file may
// hold them.
TPhasorArray Build(const std::vector<std::pair<std::string, std::string>>& defs) {
    TPhasorArray list;
    for (const auto& [name, definition] : defs) {
        TPhasor& p = list[AppendPhasor(list)];
        p.Name = name;
        p.Definition = definition;
        p.Value = MakeComplex(2, 1);
        p.ErrorCode = 77;
        p.ErrorText = "stale";
    }
    return list;
}

const std::string Circular = "Zirkul\xE4re Referenz in ";
const std::string Status = " Fehler (hier rechtsklicken)";
const std::string BadName = "Ung\xFCltiger Zeigername";

// A file may hold more than 256 phasors: far deeper chains must not overflow the stack.
TEST(RecalculateAll, VeryLongChainsWork) {
    std::vector<std::pair<std::string, std::string>> defs{{"P0", "1"}};
    for (int k = 1; k < 3000; ++k)
        defs.push_back({"P" + std::to_string(k), "P" + std::to_string(k - 1) + "+1"});
    TPhasorArray list = Build(defs);
    EXPECT_TRUE(RecalculateAll(list).Errors.empty());
    EXPECT_EQ(list.back().Value.Re, 3000.0);
    list[0].Definition = "P2999";  // closes the chain into one long cycle
    EXPECT_EQ(RecalculateAll(list).Errors.size(), list.size());
    EXPECT_EQ(list[0].ErrorText.Str(), Circular + "P2999");
    EXPECT_EQ(list[1].ErrorText.Str(), Circular + "P0");
}

// The three routines written out literally (every phasor reparsed, every dependency tree
// evaluated afresh, recursion with a silent exception): the reference for random lists.

struct LiteralRecalc {
    TPhasorArray& Ph;

    TRecalcResult Run() {
        for (TPhasor& p : Ph) {
            const bool valid = IsValidPhasorName(p.Name.View());
            p.ErrorCode = valid ? 0 : ErrInvalidName;
            p.ErrorText = valid ? "" : BadName;
        }
        for (TPhasor& p : Ph) {
            if (p.ErrorCode != 0 || p.Definition.Empty()) continue;
            try {
                const Expression e = ParseOrFail(p);
                for (TPhasor& q : Ph)
                    q.EvalState = TEvalState::esPending;
                for (int d : ExpressionDependencies(e, Ph))
                    if (!Ph[d].Definition.Empty() && Ph[d].EvalState == TEvalState::esPending)
                        EvaluatePhasor(d);
                p.Value = EvalExpr(e, Ph);
            } catch (const EvalError&) {  // also the silent abort
                p.EvalState = TEvalState::esFailed;
                p.Value = FailureValue();
            }
        }
        TRecalcResult r;
        for (std::size_t i = 0; i < Ph.size(); ++i)
            if (Ph[i].ErrorCode != 0)
                r.Errors.push_back(
                    {Ph[i].Name.Str() + ": " + Ph[i].ErrorText.Str(), static_cast<int>(i)});
        if (!r.Errors.empty()) r.StatusText = std::to_string(r.Errors.size()) + Status;
        return r;
    }

    static TComplex FailureValue() {
        const double n = std::bit_cast<double>(0xFFF8000000000000ULL);  // the default NaN
        return TComplex{n, n, n, n};
    }

    static void Abort(TPhasor& p, std::int32_t code, const std::string& text) {
        p.ErrorText = text;
        p.EvalState = TEvalState::esFailed;
        p.ErrorCode = code;
        throw EvalError("silent");
    }

    Expression ParseOrFail(TPhasor& p) {
        const Expression e = Parse(p.Definition.View(), Ph);
        if (e.Failed)
            Abort(p, SyntaxErrorCode(e.ErrorPos), SyntaxErrorText(e.ErrorPos, e.ErrorKind));
        return e;
    }

    void EvaluatePhasor(int index) {
        TPhasor& d = Ph[index];
        d.EvalState = TEvalState::esInProgress;
        d.Value = FailureValue();
        const Expression e = ParseOrFail(d);
        for (int i : ExpressionDependencies(e, Ph)) {
            TPhasor& dep = Ph[i];
            if (dep.Definition.Empty()) continue;
            if (dep.EvalState == TEvalState::esPending) EvaluatePhasor(i);
            if (dep.EvalState == TEvalState::esInProgress)
                Abort(d, ErrDependency, Circular + dep.Name.Str());
            if (dep.EvalState == TEvalState::esFailed)
                Abort(d, ErrDependency,
                      "Warnung: Fehlerhafte Abh\xE4ngigkeiten (" + dep.Name.Str() + ")");
        }
        d.Value = EvalExpr(e, Ph);
        d.EvalState = TEvalState::esDone;
    }
};

// Random lists over valid names, names that shadow constants or functions, unknown and
// invalid ones, with broken, nested, non-finite and failing definitions.
struct RandomLists {
    std::mt19937 Rng{20261206};

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Rng); }
    template <std::size_t N>
    const char* Choose(const char* const (&v)[N]) {
        return v[Pick(0, N - 1)];
    }

    TPhasorArray Next() {
        static const char* const names[] = {"A",   "B", "C", "D", "E2", "e",   "j", "pi",
                                            "sin", "A", "B", "C", "1x", "a b", "",  "\xE4"};
        TPhasorArray list;
        for (int i = 0, n = Pick(1, 12); i < n; ++i) {
            TPhasor& p = list[AppendPhasor(list)];
            p.Name = Choose(names);
            p.Value = MakeComplex(Pick(-3, 3), Pick(-3, 3));
            if (Pick(0, 9) >= 3) p.Definition = Expr(Pick(0, 3));
        }
        return list;
    }
    std::string Expr(int depth) {
        static const char* const broken[] = {"*", "(", ")", "$", "2.", "Sin(1)", "+", " "};
        static const char* const operators[] = {"+", "-", "*", "/", "^", " "};
        std::string s = Pick(0, 15) == 0 ? Choose(broken) : "";
        s += Operand(depth);
        for (int i = 0, more = Pick(0, 2); i < more; ++i)
            s += Choose(operators) + Operand(depth);
        return Pick(0, 20) == 0 ? s + Choose(broken) : s;
    }
    std::string Operand(int depth) {
        static const char* const atoms[] = {"A",  "B",   "C",   "D",   "E2",    "e", "j",
                                            "pi", "2",   "0",   "1.5", "X",     "A", "B",
                                            "C",  "A B", "1/0", "0/0", "90\xB0"};
        static const char* const functions[] = {"sin", "sqrt", "ln", "conj", "cot", "abs"};
        if (depth > 0 && Pick(0, 4) == 0) return "(" + Expr(depth - 1) + ")";
        if (depth > 0 && Pick(0, 6) == 0) return Choose(functions) + ("(" + Expr(depth - 1) + ")");
        return Choose(atoms);
    }
};

// Runs both algorithms on one list twice (the second run starts from the values and errors the
// first one left) and returns the literal outcome.
TPhasorArray ExpectSameAsLiteral(TPhasorArray fast) {
    TPhasorArray literal = fast;
    for (int pass = 0; pass < 2; ++pass) {
        const TRecalcResult rf = RecalculateAll(fast);
        const TRecalcResult rl = LiteralRecalc{literal}.Run();
        for (std::size_t i = 0; i < fast.size(); ++i) {
            SCOPED_TRACE("'" + fast[i].Name.Str() + "' = '" + fast[i].Definition.Str() + "'");
            EXPECT_EQ(std::memcmp(&fast[i].Value, &literal[i].Value, sizeof(TComplex)), 0);
            EXPECT_EQ(fast[i].ErrorCode, literal[i].ErrorCode);
            EXPECT_EQ(fast[i].ErrorText.Str(), literal[i].ErrorText.Str());
        }
        EXPECT_EQ(rf.Errors.size(), rl.Errors.size());
        for (std::size_t i = 0; i < rf.Errors.size() && i < rl.Errors.size(); ++i) {
            EXPECT_EQ(rf.Errors[i].Caption, rl.Errors[i].Caption);
            EXPECT_EQ(rf.Errors[i].PhasorIndex, rl.Errors[i].PhasorIndex);
        }
        EXPECT_EQ(rf.StatusText, rl.StatusText);
    }
    return literal;
}

// Cases random lists hardly reach: stale working fields, a message over a 251-character name,
// an error at position 0 (which would read as "no error"), a dependent of a cycle, invalid
// names whose values stay.
TEST(RecalculateAll, AgreesWithTheLiteralAlgorithmOnEdgeCases) {
    const std::string longName = "N" + std::string(250, 'x');
    const std::vector<std::vector<std::pair<std::string, std::string>>> cases = {
        {{"A", "B"}, {"B", "A"}, {"C", "A+1"}},
        {{longName, longName}},
        {{"Zeiger 1", "1+1"}, {"", ""}},
        {{"A", "*2"}}};
    for (const auto& defs : cases)
        EXPECT_NE(ExpectSameAsLiteral(Build(defs))[0].ErrorCode, 0);  // each one fails at once
}

TEST(RecalculateAll, AgreesWithTheLiteralAlgorithmOnRandomLists) {
    RandomLists gen;
    int circular = 0, syntax = 0, silentNaN = 0;
    for (int round = 0; round < 4000; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const TPhasorArray literal = ExpectSameAsLiteral(gen.Next());
        if (::testing::Test::HasFailure()) return;
        for (const TPhasor& p : literal) {
            circular += p.ErrorCode == ErrDependency;
            syntax += p.ErrorCode > 0 || p.ErrorCode == ErrSyntaxAtStart;
            silentNaN += p.ErrorCode == 0 && std::isnan(p.Value.Re);
        }
    }
    // The generator must reach every kind of outcome.
    EXPECT_GT(circular, 100);
    EXPECT_GT(syntax, 100);
    EXPECT_GT(silentNaN, 100);
}

}  // namespace
}  // namespace zeigora
