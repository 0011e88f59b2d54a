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
        AppendPhasor(list);
        list.back().Name = d.name;
        list.back().Definition = d.definition;
        list.back().Value = d.value;
        list.back().ErrorCode = 77;  // stale working fields, as a loaded file may hold them
        list.back().ErrorText = "stale";
    }
    return list;
}

bool IsFailureNaN(const TComplex& z) {
    const double parts[4] = {z.Re, z.Im, z.Abs, z.Phase};
    for (double d : parts) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        if (bits != 0xFFF8000000000000ULL) return false;
    }
    return true;
}

const std::string Circular = "Zirkul\xE4re Referenz in ";
const std::string Status = " Fehler (hier rechtsklicken)";

TEST(RecalculateAll, EmptyListHasNoErrors) {
    TPhasorArray list;
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_TRUE(r.Errors.empty());
    EXPECT_EQ(r.StatusText, "");
}

TEST(RecalculateAll, ConstantsKeepTheirValueAndNamesReadIt) {
    TPhasorArray list = Build({{"A", "", MakeComplex(3, -4)}, {"B", "A"}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_EQ(list[0].Value.Re, 3.0);
    EXPECT_EQ(list[1].Value.Im, -4.0);
    EXPECT_EQ(list[0].ErrorCode, 0);
    EXPECT_EQ(list[0].ErrorText.Str(), "");
    EXPECT_TRUE(r.Errors.empty());
}

TEST(RecalculateAll, ChainInAnyOrderInOneRun) {
    TPhasorArray list = Build({{"C", "B+1"}, {"B", "A*2"}, {"A", "", MakeComplex(1, 0)}});
    RecalculateAll(list);
    EXPECT_EQ(list[1].Value.Re, 2.0);
    EXPECT_EQ(list[0].Value.Re, 3.0);
}

TEST(RecalculateAll, TwoCycleListsBothAndADependentOnlyGetsNaN) {
    TPhasorArray list = Build({{"A", "B"}, {"B", "A"}, {"C", "A+1"}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_EQ(list[0].ErrorCode, ErrDependency);
    EXPECT_EQ(list[0].ErrorText.Str(), Circular + "B");
    EXPECT_EQ(list[1].ErrorCode, ErrDependency);
    EXPECT_EQ(list[1].ErrorText.Str(), Circular + "A");
    EXPECT_EQ(list[2].ErrorCode, 0);
    for (const TPhasor& p : list)
        EXPECT_TRUE(IsFailureNaN(p.Value));
    ASSERT_EQ(r.Errors.size(), 2u);
    EXPECT_EQ(r.Errors[0].Caption, "A: " + Circular + "B");
    EXPECT_EQ(r.Errors[0].PhasorIndex, 0);
    EXPECT_EQ(r.Errors[1].Caption, "B: " + Circular + "A");
    EXPECT_EQ(r.Errors[1].PhasorIndex, 1);
    EXPECT_EQ(r.StatusText, "2" + Status);
}

TEST(RecalculateAll, SelfReferenceNamesItself) {
    TPhasorArray list = Build({{"A", "A+1"}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_EQ(list[0].ErrorText.Str(), Circular + "A");
    EXPECT_EQ(r.StatusText, "1" + Status);
}

TEST(RecalculateAll, LongNameIsCutInTheMessage) {
    const std::string name = "N" + std::string(250, 'x');
    TPhasorArray list = Build({{name, name}});
    RecalculateAll(list);
    EXPECT_EQ(list[0].ErrorText.Str(), (Circular + name).substr(0, 255));
}

TEST(RecalculateAll, InvalidNameIsListedAndNotEvaluated) {
    const TComplex stored = MakeComplex(5, 5);
    TPhasorArray list = Build({{"Zeiger 1", "1+1", stored}, {"", "", stored}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_EQ(list[0].ErrorCode, ErrInvalidName);
    EXPECT_EQ(list[0].ErrorText.Str(), "Ung\xFCltiger Zeigername");
    EXPECT_EQ(std::memcmp(&list[0].Value, &stored, sizeof stored), 0);
    ASSERT_EQ(r.Errors.size(), 2u);
    EXPECT_EQ(r.Errors[0].Caption, "Zeiger 1: Ung\xFCltiger Zeigername");
    EXPECT_EQ(r.Errors[1].Caption, ": Ung\xFCltiger Zeigername");
}

TEST(RecalculateAll, SyntaxErrorCarriesParserPositionAndMessage) {
    TPhasorArray list = Build({{"A", "1+X"}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_EQ(list[0].ErrorCode, 3);
    EXPECT_EQ(list[0].ErrorText.Str(), "Syntaxfehler (3): Unbekannter Zeiger");
    EXPECT_TRUE(IsFailureNaN(list[0].Value));
    EXPECT_EQ(list[0].EvalState, TEvalState::esFailed);
    ASSERT_EQ(r.Errors.size(), 1u);
    EXPECT_EQ(r.Errors[0].Caption, "A: Syntaxfehler (3): Unbekannter Zeiger");
}

// Position 0 would read as "no error"; such a phasor is still listed.
TEST(RecalculateAll, SyntaxErrorAtTheFirstCharacterIsListed) {
    TPhasorArray list = Build({{"A", "*2"}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_EQ(list[0].ErrorCode, ErrSyntaxAtStart);
    EXPECT_EQ(list[0].ErrorText.Str(), "Syntaxfehler (0): Unvollst\xE4ndiger Ausdruck");
    EXPECT_TRUE(IsFailureNaN(list[0].Value));
    EXPECT_EQ(r.Errors.size(), 1u);
    EXPECT_EQ(SyntaxErrorCode(4), 4);
}

TEST(RecalculateAll, OnlyTheFailingDependencyIsListed) {
    TPhasorArray list = Build({{"B", "A*2"}, {"A", "2+"}, {"C", "B"}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_EQ(list[0].ErrorCode, 0);
    EXPECT_EQ(list[1].ErrorCode, 2);
    EXPECT_EQ(list[2].ErrorCode, 0);
    for (const TPhasor& p : list)
        EXPECT_TRUE(IsFailureNaN(p.Value));
    ASSERT_EQ(r.Errors.size(), 1u);
    EXPECT_EQ(r.Errors[0].PhasorIndex, 1);
}

TEST(RecalculateAll, NonFiniteValuesAreNoErrors) {
    TPhasorArray list = Build({{"A", "1/0"}, {"B", "0/0"}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_TRUE(std::isinf(list[0].Value.Re));
    EXPECT_TRUE(std::isnan(list[1].Value.Re));
    EXPECT_TRUE(r.Errors.empty());
}

TEST(RecalculateAll, EvaluatorErrorsGiveNaNWithoutEntry) {
    TPhasorArray list = Build({{"B", "A+1"}, {"A", "cot(1)"}});
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_TRUE(IsFailureNaN(list[0].Value));
    EXPECT_TRUE(IsFailureNaN(list[1].Value));
    EXPECT_EQ(list[0].ErrorCode, 0);
    EXPECT_EQ(list[1].ErrorCode, 0);
    EXPECT_TRUE(r.Errors.empty());
}

TEST(RecalculateAll, RecoversOnceTheDefinitionIsRepaired) {
    TPhasorArray list = Build({{"A", "A"}, {"B", "A+1"}});
    RecalculateAll(list);
    list[0].Definition = "2";
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_TRUE(r.Errors.empty());
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
    const TRecalcResult r = RecalculateAll(list);
    EXPECT_EQ(r.Errors.size(), list.size());
    EXPECT_EQ(list[0].ErrorText.Str(), Circular + "P2999");
    EXPECT_EQ(list[1].ErrorText.Str(), Circular + "P0");
}

// ---------------------------------------------------------------------------------------
// The three routines written out literally (every phasor reparsed, every dependency tree
// evaluated afresh, recursion with a silent exception), as the reference for the randomized
// comparison below.

struct SilentAbort {};

class LiteralRecalc {
  public:
    explicit LiteralRecalc(TPhasorArray& list) : Ph(list) {}

    TRecalcResult Run() {
        for (TPhasor& p : Ph) {
            const bool valid = IsValidPhasorName(p.Name.View());
            p.ErrorCode = valid ? 0 : ErrInvalidName;
            p.ErrorText = valid ? "" : "Ung\xFCltiger Zeigername";
        }
        for (TPhasor& p : Ph) {
            if (p.ErrorCode != 0 || p.Definition.Empty()) continue;
            try {
                const Expression e = Parse(p.Definition.View(), Ph);
                if (e.Failed) {
                    p.EvalState = TEvalState::esFailed;
                    p.ErrorCode = SyntaxErrorCode(e.ErrorPos);
                    p.ErrorText = SyntaxErrorText(e.ErrorPos, e.ErrorKind);
                    throw SilentAbort{};
                }
                EvaluateDependencies(e);
                p.Value = EvalExpr(e, Ph);
            } catch (const SilentAbort&) {
                Fail(p);
            } catch (const EvalError&) {
                Fail(p);
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

    static void Fail(TPhasor& p) {
        p.EvalState = TEvalState::esFailed;
        const double nan = DefaultNaN();
        p.Value = TComplex{nan, nan, nan, nan};
    }

    void EvaluateDependencies(const Expression& e) {
        const std::vector<int> deps = ExpressionDependencies(e, Ph);
        for (TPhasor& p : Ph)
            p.EvalState = TEvalState::esPending;
        for (int d : deps)
            if (!Ph[d].Definition.Empty() && Ph[d].EvalState == TEvalState::esPending)
                EvaluatePhasor(d);
    }

    void EvaluatePhasor(int index) {
        TPhasor& d = Ph[index];
        d.EvalState = TEvalState::esInProgress;
        const double nan = DefaultNaN();
        d.Value = TComplex{nan, nan, nan, nan};
        const Expression e = Parse(d.Definition.View(), Ph);
        if (e.Failed) {
            d.ErrorText = SyntaxErrorText(e.ErrorPos, e.ErrorKind);
            d.EvalState = TEvalState::esFailed;
            d.ErrorCode = SyntaxErrorCode(e.ErrorPos);
            throw SilentAbort{};
        }
        for (int i : ExpressionDependencies(e, Ph)) {
            TPhasor& dep = Ph[i];
            if (dep.Definition.Empty()) continue;
            switch (dep.EvalState) {
                case TEvalState::esPending:
                    EvaluatePhasor(i);
                    break;
                case TEvalState::esInProgress:
                    d.ErrorText = Circular + dep.Name.Str();
                    d.EvalState = TEvalState::esFailed;
                    d.ErrorCode = ErrDependency;
                    throw SilentAbort{};
                case TEvalState::esDone:
                    break;
                case TEvalState::esFailed:
                    d.ErrorText = "Warnung: Fehlerhafte Abh\xE4ngigkeiten (" + dep.Name.Str() + ")";
                    d.EvalState = TEvalState::esFailed;
                    d.ErrorCode = ErrDependency;
                    throw SilentAbort{};
            }
        }
        d.Value = EvalExpr(e, Ph);
        d.EvalState = TEvalState::esDone;
    }
};

class RandomLists {
  public:
    explicit RandomLists(unsigned seed) : Rng(seed) {}

    TPhasorArray Next() {
        const int n = Pick(1, 12);
        TPhasorArray list;
        for (int i = 0; i < n; ++i) {
            AppendPhasor(list);
            TPhasor& p = list.back();
            p.Name = Choose(Names);
            p.Value = MakeComplex(Pick(-3, 3), Pick(-3, 3));
            if (Pick(0, 9) >= 3) p.Definition = Expr(Pick(0, 3));
        }
        return list;
    }

  private:
    std::mt19937 Rng;
    // Valid names, names that shadow constants or functions, unknown and invalid ones.
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
        const int more = Pick(0, 2);
        for (int i = 0; i < more; ++i)
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

void ExpectSameOutcome(const TPhasorArray& fast, const TPhasorArray& literal,
                       const TRecalcResult& rf, const TRecalcResult& rl, int round) {
    ASSERT_EQ(fast.size(), literal.size());
    for (std::size_t i = 0; i < fast.size(); ++i) {
        SCOPED_TRACE("round " + std::to_string(round) + ", phasor " + std::to_string(i) + " '" +
                     fast[i].Name.Str() + "' = '" + fast[i].Definition.Str() + "'");
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
}

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
            ExpectSameOutcome(fast, literal, rf, rl, round);
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
