#include <gtest/gtest.h>

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

struct Def {
    std::string name;
    std::string definition;
    TComplex value = MakeComplex(2, 1);
};

TPhasorArray Build(const std::vector<Def>& defs) {
    TPhasorArray list;
    for (const Def& d : defs) {
        TPhasor& p = list[AppendPhasor(list)];
        p.Name = d.name;
        p.Definition = d.definition;
        p.Value = d.value;
        p.ErrorCode = 77;  // stale working fields, as a loaded file may hold them
        p.ErrorText = "stale";
    }
    return list;
}

bool IsFailureNaN(const TComplex& z) {
    for (double d : {z.Re, z.Im, z.Abs, z.Phase}) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        if (bits != 0xFFF8000000000000ULL) return false;
    }
    return true;
}

const std::string Circular = "Zirkul\xE4re Referenz in ";
const std::string Status = " Fehler (hier rechtsklicken)";
const std::string BadName = "Ung\xFCltiger Zeigername";

TEST(RecalculateAll, ErrorsMessagesAndFailureValues) {
    const std::string longName = "N" + std::string(250, 'x');
    const struct {
        std::vector<Def> Defs;
        std::vector<int> Codes;
        std::vector<std::string> Texts;
        std::string Values;       // per phasor: 'n' the failure NaN, 'k' the stored value kept, '.'
        std::vector<int> Listed;  // the phasors in the error list, in order
    } cases[] = {
        {{}, {}, {}, "", {}},
        {{{"A", "B"}, {"B", "A"}, {"C", "A+1"}},  // a dependent only gets NaN
         {ErrDependency, ErrDependency, 0},
         {Circular + "B", Circular + "A", ""},
         "nnn",
         {0, 1}},
        {{{"A", "A+1"}}, {ErrDependency}, {Circular + "A"}, "n", {0}},
        {{{longName, longName}}, {ErrDependency}, {(Circular + longName).substr(0, 255)}, "n", {0}},
        {{{"Zeiger 1", "1+1", MakeComplex(5, 5)}, {"", "", MakeComplex(5, 5)}},
         {ErrInvalidName, ErrInvalidName},
         {BadName, BadName},
         "kk",
         {0, 1}},
        {{{"A", "1+X"}}, {3}, {"Syntaxfehler (3): Unbekannter Zeiger"}, "n", {0}},
        // Position 0 would read as "no error"; such a phasor is still listed.
        {{{"A", "*2"}},
         {ErrSyntaxAtStart},
         {"Syntaxfehler (0): Unvollst\xE4ndiger Ausdruck"},
         "n",
         {0}},
        {{{"B", "A*2"}, {"A", "2+"}, {"C", "B"}},  // only the failing dependency is listed
         {0, 2, 0},
         {"", "Syntaxfehler (2): Unvollst\xE4ndiger Ausdruck", ""},
         "nnn",
         {1}},
        {{{"B", "A+1"}, {"A", "cot(1)"}}, {0, 0}, {"", ""}, "nn", {}},  // evaluator errors
    };
    for (const auto& c : cases) {
        TPhasorArray list = Build(c.Defs);
        const TRecalcResult r = RecalculateAll(list);
        SCOPED_TRACE(c.Defs.empty() ? "" : c.Defs[0].definition);
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i].ErrorCode, c.Codes[i]) << i;
            EXPECT_EQ(list[i].ErrorText.Str(), c.Texts[i]) << i;
            if (c.Values[i] == 'n') {
                EXPECT_TRUE(IsFailureNaN(list[i].Value)) << i;
            } else if (c.Values[i] == 'k') {
                EXPECT_EQ(std::memcmp(&list[i].Value, &c.Defs[i].value, sizeof(TComplex)), 0);
            }
        }
        ASSERT_EQ(r.Errors.size(), c.Listed.size());
        for (std::size_t k = 0; k < c.Listed.size(); ++k) {
            const int i = c.Listed[k];
            EXPECT_EQ(r.Errors[k].PhasorIndex, i);
            EXPECT_EQ(r.Errors[k].Caption, c.Defs[i].name + ": " + c.Texts[i]);
        }
        EXPECT_EQ(r.StatusText, c.Listed.empty() ? "" : std::to_string(c.Listed.size()) + Status);
    }
}

TEST(RecalculateAll, Values) {
    TPhasorArray list = Build({{"C", "B+1"},
                               {"B", "A*2"},
                               {"A", "", MakeComplex(1, 0)},
                               {"D", "", MakeComplex(3, -4)},
                               {"E", "D"}});
    EXPECT_TRUE(RecalculateAll(list).Errors.empty());  // a chain in any order, in one run
    EXPECT_EQ(list[1].Value.Re, 2.0);
    EXPECT_EQ(list[0].Value.Re, 3.0);
    EXPECT_EQ(list[3].Value.Re, 3.0);  // constants keep their value, names read it
    EXPECT_EQ(list[4].Value.Im, -4.0);
    EXPECT_EQ(list[3].ErrorText.Str(), "");

    list = Build({{"A", "1/0"}, {"B", "0/0"}});  // non-finite values are no errors
    EXPECT_TRUE(RecalculateAll(list).Errors.empty());
    EXPECT_TRUE(std::isinf(list[0].Value.Re));
    EXPECT_TRUE(std::isnan(list[1].Value.Re));

    list = Build({{"A", "A"}, {"B", "A+1"}});
    RecalculateAll(list);
    list[0].Definition = "2";  // repaired
    EXPECT_TRUE(RecalculateAll(list).Errors.empty());
    EXPECT_EQ(list[1].Value.Re, 3.0);
    EXPECT_EQ(list[0].ErrorText.Str(), "");
}

// Lists are not limited to 256 entries (a file may hold more); chains far deeper than that
// must neither overflow the stack nor change the outcome.
TEST(RecalculateAll, VeryLongChainsWork) {
    std::vector<Def> defs{{"P0", "", MakeComplex(1, 0)}};
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
struct SilentAbort {};

class LiteralRecalc {
  public:
    explicit LiteralRecalc(TPhasorArray& list) : Ph(list) {}

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
                const std::vector<int> deps = ExpressionDependencies(e, Ph);
                for (TPhasor& q : Ph)
                    q.EvalState = TEvalState::esPending;
                for (int d : deps)
                    if (!Ph[d].Definition.Empty() && Ph[d].EvalState == TEvalState::esPending)
                        EvaluatePhasor(d);
                p.Value = EvalExpr(e, Ph);
            } catch (const SilentAbort&) {
                p.EvalState = TEvalState::esFailed;
                p.Value = FailureValue();
            } catch (const EvalError&) {
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

  private:
    TPhasorArray& Ph;

    static TComplex FailureValue() {
        const double nan = DefaultNaN();
        return TComplex{nan, nan, nan, nan};
    }

    static void Abort(TPhasor& p, std::int32_t code, const std::string& text) {
        p.ErrorText = text;
        p.EvalState = TEvalState::esFailed;
        p.ErrorCode = code;
        throw SilentAbort{};
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
class RandomLists {
  public:
    explicit RandomLists(unsigned seed) : Rng(seed) {}

    TPhasorArray Next() {
        TPhasorArray list;
        for (int i = 0, n = Pick(1, 12); i < n; ++i) {
            TPhasor& p = list[AppendPhasor(list)];
            p.Name = Choose(Names);
            p.Value = MakeComplex(Pick(-3, 3), Pick(-3, 3));
            if (Pick(0, 9) >= 3) p.Definition = Expr(Pick(0, 3));
        }
        return list;
    }

  private:
    std::mt19937 Rng;
    const std::vector<std::string> Names = {"A",   "B", "C", "D", "E2", "e",   "j", "pi",
                                            "sin", "A", "B", "C", "1x", "a b", "",  "\xE4"};
    const std::vector<std::string> Atoms = {"A",  "B",   "C",   "D",   "E2",    "e", "j",
                                            "pi", "2",   "0",   "1.5", "X",     "A", "B",
                                            "C",  "A B", "1/0", "0/0", "90\xB0"};
    const std::vector<std::string> Broken = {"*", "(", ")", "$", "2.", "Sin(1)", "+", " "};
    const std::vector<std::string> Functions = {"sin", "sqrt", "ln", "conj", "cot", "abs"};
    const std::vector<std::string> Operators = {"+", "-", "*", "/", "^", " "};

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Rng); }
    const std::string& Choose(const std::vector<std::string>& v) {
        return v[static_cast<std::size_t>(Pick(0, static_cast<int>(v.size()) - 1))];
    }
    std::string Expr(int depth) {
        std::string s;
        if (Pick(0, 15) == 0) s += Choose(Broken);
        s += Operand(depth);
        for (int i = 0, more = Pick(0, 2); i < more; ++i)
            s += Choose(Operators) + Operand(depth);
        if (Pick(0, 20) == 0) s += Choose(Broken);
        return s;
    }
    std::string Operand(int depth) {
        if (depth > 0 && Pick(0, 4) == 0) return "(" + Expr(depth - 1) + ")";
        if (depth > 0 && Pick(0, 6) == 0) return Choose(Functions) + "(" + Expr(depth - 1) + ")";
        return Choose(Atoms);
    }
};

TEST(RecalculateAll, AgreesWithTheLiteralAlgorithmOnRandomLists) {
    RandomLists gen(20261206);
    int circular = 0, syntax = 0, silentNaN = 0;
    for (int round = 0; round < 4000; ++round) {
        TPhasorArray fast = gen.Next();
        TPhasorArray literal = fast;
        // Twice: the second run starts from the values and errors the first one left.
        for (int pass = 0; pass < 2; ++pass) {
            const TRecalcResult rf = RecalculateAll(fast);
            const TRecalcResult rl = LiteralRecalc(literal).Run();
            for (std::size_t i = 0; i < fast.size(); ++i) {
                SCOPED_TRACE("round " + std::to_string(round) + ", phasor " + std::to_string(i) +
                             " '" + fast[i].Name.Str() + "' = '" + fast[i].Definition.Str() + "'");
                EXPECT_EQ(std::memcmp(&fast[i].Value, &literal[i].Value, sizeof(TComplex)), 0);
                EXPECT_EQ(fast[i].ErrorCode, literal[i].ErrorCode);
                EXPECT_EQ(fast[i].ErrorText.Str(), literal[i].ErrorText.Str());
            }
            ASSERT_EQ(rf.Errors.size(), rl.Errors.size());
            for (std::size_t i = 0; i < rf.Errors.size(); ++i) {
                EXPECT_EQ(rf.Errors[i].Caption, rl.Errors[i].Caption);
                EXPECT_EQ(rf.Errors[i].PhasorIndex, rl.Errors[i].PhasorIndex);
            }
            EXPECT_EQ(rf.StatusText, rl.StatusText);
            if (::testing::Test::HasFailure()) return;
        }
        for (const TPhasor& p : literal) {
            circular += p.ErrorCode == ErrDependency;
            syntax += p.ErrorCode > 0 || p.ErrorCode == ErrSyntaxAtStart;
            silentNaN += p.ErrorCode == 0 && IsFailureNaN(p.Value);
        }
    }
    // The generator must reach every kind of outcome.
    EXPECT_GT(circular, 100);
    EXPECT_GT(syntax, 100);
    EXPECT_GT(silentNaN, 100);
}

}  // namespace
}  // namespace zeigora
