#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "parser/complexParser.h"
#include "phasors/phasor.h"
#include "phasors/phasornames.h"
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

uint64_t Bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}
constexpr std::uint64_t FailedBits = 0xFFF8000000000000ULL;  // the NaN of a failed phasor

TEST(IsValidPhasorName, FollowsTheNameRule) {
    const struct {
        std::string_view Name;
        bool Valid;
    } rows[] = {
        {"Zeiger1", true}, {"Z", true},    {"zA9", true},       {"", false},
        {"1x", false},     {"a b", false}, {"Zeiger_1", false}, {"Zeiger\xE4", false},
        {"@", false},      {"[", false},   {"`", false},        {"{", false},
        {"a/", false},     {"a:", false},  {{"a\0", 2}, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsValidPhasorName(row.Name), row.Valid) << "'" << row.Name << "'";
}

// Pairs of names that share the index's 32-bit FNV-1a hash, short and long: each is found as
// itself; a repeated name finds its first phasor.
TEST(PhasorNames, FindsTheFirstOfExactlyThatName) {
    const TPhasorArray list = Build(
        {{"SQwBEQ", ""}, {"tibKgx", ""}, {"declinate", ""}, {"macallums", ""}, {"SQwBEQ", ""}});
    const TPhasorNames names(list);
    EXPECT_EQ(names.Find("SQwBEQ"), 0);
    EXPECT_EQ(names.Find("tibKgx"), 1);
    EXPECT_EQ(names.Find("declinate"), 2);
    EXPECT_EQ(names.Find("macallums"), 3);
    EXPECT_EQ(names.Find("SQwBE"), -1);
}

// A = B, B = A, C = A+1. A's turn: B in progress, A in progress, A finds B in progress. B's
// turn: A, then B, which finds A in progress. C's turn: A, B, B finds A in progress again.
TEST(RecalculateAll, TwoPhasorCycleListsBothAndNotItsDependent) {
    TPhasorArray list = Build({{"A", "B"}, {"B", "A"}, {"C", "A+1"}});
    const TRecalcResult r = RecalculateAll(list);
    ASSERT_EQ(r.Errors.size(), 2u);
    EXPECT_EQ(r.Errors[0].Caption, "A: " + Circular + "B");
    EXPECT_EQ(r.Errors[0].PhasorIndex, 0);
    EXPECT_EQ(r.Errors[1].Caption, "B: " + Circular + "A");
    EXPECT_EQ(r.Errors[1].PhasorIndex, 1);
    EXPECT_EQ(r.StatusText, "2 Fehler (hier rechtsklicken)");
    EXPECT_EQ(list[0].ErrorCode, -2);
    EXPECT_EQ(list[1].ErrorCode, -2);
    EXPECT_EQ(list[2].ErrorCode, 0);
    EXPECT_EQ(list[2].ErrorText.Str(), "");
    for (const TPhasor& p : list)
        for (const double part : {p.Value.Re, p.Value.Im, p.Value.Abs, p.Value.Phase})
            EXPECT_EQ(Bits(part), FailedBits);
    EXPECT_EQ(list[0].EvalState, TEvalState::esInProgress);
    EXPECT_EQ(list[1].EvalState, TEvalState::esFailed);
    EXPECT_EQ(list[2].EvalState, TEvalState::esFailed);
}

// Who carries which message; dependents of a failure get NaN and no entry. Stored values are
// 2+1j. A message is cut to 255 characters; a syntax error at position 0 is listed too.
TEST(RecalculateAll, FailuresLandOnTheirCause) {
    const std::string LongName = "N" + std::string(250, 'x');
    const struct {
        std::vector<std::pair<std::string, std::string>> Defs;
        std::vector<std::string> Entries;
        double LastRe;  // the last phasor's real part; NaN: the failed phasor's NaN
    } rows[] = {
        {{{"A", "2+"}}, {"A: Syntaxfehler (2): Unvollst\xE4ndiger Ausdruck"}, NAN},
        {{{"A", "X"}, {"B", "A"}}, {"A: Syntaxfehler (1): Unbekannter Zeiger"}, NAN},
        {{{"A", "A*2"}}, {"A: " + Circular + "A"}, NAN},
        {{{LongName, LongName}}, {LongName + ": " + (Circular + LongName).substr(0, 255)}, NAN},
        {{{"A", "*2"}}, {"A: Syntaxfehler (0): Unvollst\xE4ndiger Ausdruck"}, NAN},
        {{{"Zeiger 1", "1+1"}}, {"Zeiger 1: " + BadName}, 2},
        {{{"A", "cot(1)"}, {"B", "A+1"}}, {}, NAN},
        {{{"A", "1/0"}}, {}, INFINITY},
        {{{"C", "B+1"}, {"B", "A+j"}, {"A", ""}}, {}, 2},
        {{}, {}, 0},
    };
    for (const auto& row : rows) {
        TPhasorArray list = Build(row.Defs);
        const TRecalcResult r = RecalculateAll(list);
        std::vector<std::string> entries;
        for (const TErrorEntry& e : r.Errors)
            entries.push_back(e.Caption);
        EXPECT_EQ(entries, row.Entries);
        EXPECT_EQ(r.StatusText, row.Entries.empty() ? "" : "1" + Status);
        if (list.empty()) continue;
        const double re = list.back().Value.Re;
        EXPECT_EQ(Bits(re), std::isnan(row.LastRe) ? FailedBits : Bits(row.LastRe))
            << row.Defs.back().second;
    }
    TPhasorArray chain = Build({{"C", "B+1"}, {"B", "A+j"}, {"A", ""}});
    RecalculateAll(chain);
    EXPECT_EQ(chain[0].Value.Re, 3);
    EXPECT_EQ(chain[0].Value.Im, 2);
}

// A file may hold far more phasors than a definition can name: deep chains must neither
// overflow the stack nor take quadratic time.
TEST(RecalculateAll, VeryLongChainsAndCycles) {
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
    EXPECT_EQ(list[2999].ErrorText.Str(), Circular + "P2998");
}

// The three routines written out literally (every phasor reparsed, every dependency tree
// evaluated afresh, recursion with a silent exception): the reference for random lists.

struct LiteralRecalc {
    TPhasorArray& Ph;
    const TPhasorNames* Names = nullptr;  // big lists look names up in the index

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
        const Expression e =
            Names ? Parse(p.Definition.View(), *Names) : Parse(p.Definition.View(), Ph);
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
TPhasorArray ExpectSameAsLiteral(TPhasorArray fast, bool indexed = false) {
    TPhasorArray literal = fast;
    const TPhasorNames names(literal);
    for (int pass = 0; pass < 2; ++pass) {
        const TRecalcResult rf = RecalculateAll(fast);
        const TRecalcResult rl = LiteralRecalc{literal, indexed ? &names : nullptr}.Run();
        for (std::size_t i = 0; i < fast.size(); ++i) {
            SCOPED_TRACE("'" + fast[i].Name.Str() + "' = '" + fast[i].Definition.Str() + "'");
            EXPECT_EQ(std::memcmp(&fast[i].Value, &literal[i].Value, sizeof(TComplex)), 0);
            EXPECT_EQ(fast[i].ErrorCode, literal[i].ErrorCode);
            EXPECT_EQ(fast[i].ErrorText.Str(), literal[i].ErrorText.Str());
            EXPECT_EQ(fast[i].EvalState, literal[i].EvalState);
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

// Lists of thousands of phasors made of groups (chains, cycles, fan-in sums, random links
// within the group), scattered over the list or in the order of the groups, with links between
// groups, syntax errors, evaluator errors, non-finite values, invalid and duplicate names
// sprinkled in.
struct BigLists {
    std::mt19937 Rng{141206};
    std::vector<int> Pos;  // the list index of group member k

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Rng); }
    static std::string Name(int k) { return "N" + std::to_string(k); }

    TPhasorArray Next(int n, bool scattered) {
        Pos.resize(n);
        std::iota(Pos.begin(), Pos.end(), 0);
        if (scattered) std::shuffle(Pos.begin(), Pos.end(), Rng);
        TPhasorArray list(n, ZeroPhasor());
        for (int start = 0; start < n;) {
            const int size = std::min(Pick(1, 80), n - start), kind = Pick(0, 3);
            for (int k = start; k < start + size; ++k) {
                TPhasor& p = list[Pos[k]];
                InitPhasor(p);
                p.Name = Pick(0, 150) == 0 ? "N " + std::to_string(k) : Name(k);
                p.Definition = Member(kind, k, start, size) + Sprinkle(n);
            }
            start += size;
        }
        for (int i = 0; i < n / 200; ++i)
            list[Pick(0, n - 1)].Name = Name(Pick(0, n - 1));
        return list;
    }
    std::string Member(int kind, int k, int start, int size) {
        if (k == start) return kind == 1 ? Name(start + size - 1) : "";  // a cycle closes
        switch (kind) {
            case 0:
            case 1:
                return Name(k - 1) + "+1";
            case 2: {  // every eighth sums the seven before it
                if ((k - start) % 8 != 0) return std::to_string(k % 5) + "j";
                std::string sum = Name(k - 1);
                for (int i = k - 2; i >= k - 7 && i >= start; --i)
                    sum += "+" + Name(i);
                return sum;
            }
            default:
                return Name(Pick(start, start + size - 1)) + "*0.5+" + Name(Pick(start, k - 1));
        }
    }
    std::string Sprinkle(int n) {  // syntax errors, an evaluator error, INF, a link
        static const char* const extras[] = {"+", "+", "+Q", "*cot(1)", "+1/0"};
        const int k = Pick(0, 99);
        return k < 5 ? extras[k] : k == 5 ? "-" + Name(Pick(0, n - 1)) : "";
    }
};

// In group order most phasors name only earlier ones, scattered most name later ones too; the
// sizes grow and shrink, as lists do between two recalculations.
TEST(RecalculateAll, AgreesWithTheLiteralAlgorithmOnBigLists) {
    BigLists gen;
    const struct {
        int N;
        bool Scattered;
    } rows[] = {{3000, true}, {5000, false}, {2000, true}, {1000, false}};
    for (const auto& [n, scattered] : rows) {
        SCOPED_TRACE(std::to_string(n) + (scattered ? " scattered" : " in order"));
        const TPhasorArray literal = ExpectSameAsLiteral(gen.Next(n, scattered), true);
        int circular = 0, syntax = 0, silentNaN = 0, values = 0;
        for (const TPhasor& p : literal) {
            circular += p.ErrorCode == ErrDependency;
            syntax += p.ErrorCode > 0 || p.ErrorCode == ErrSyntaxAtStart;
            silentNaN += p.ErrorCode == 0 && std::isnan(p.Value.Re);
            values += p.ErrorCode == 0 && !std::isnan(p.Value.Re);
        }
        // Every kind of outcome, in numbers.
        EXPECT_GT(circular, n / 60);
        EXPECT_GT(syntax, n / 60);
        EXPECT_GT(silentNaN, n / 10);
        EXPECT_GT(values, n / 10);
    }
}

}  // namespace
}  // namespace zeigora
