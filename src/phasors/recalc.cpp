// Recalculation of every phasor in dependency order.
//
// The observable rules: a phasor of the value pass evaluates its whole dependency tree afresh
// with all states reset; a failure aborts that phasor's evaluation at once and the error
// lands on the phasor where it was found (the syntax error's owner, or the phasor whose
// dependency was found in progress); dependents of a failure only get NaN.
//
// Two things make this cheap without changing any of that:
// - every definition is parsed at most once per run (lazily, then reused);
// - a phasor whose whole dependency closure is acyclic and evaluates without failure ("sound")
//   always ends with the same value, whichever path reaches it, and never touches the state
//   of any other kind of phasor. Its value is computed once, and the traversals that decide
//   error attribution step over it as if it had been evaluated there. Only unsound phasors are
//   walked the long way, so that cycles and failures are found on exactly the same path.
#include "phasors/recalc.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "complex/cp1252text.h"
#include "parser/complexParser.h"

namespace zeigora {

namespace {

const char* const InvalidNameText = "Ungültiger Zeigername"_cp;
const char* const CircularText = "Zirkuläre Referenz in "_cp;
const char* const FailedDependencyText = "Warnung: Fehlerhafte Abhängigkeiten ("_cp;
const char* const StatusSuffix = " Fehler (hier rechtsklicken)";

TComplex NaNValue() {
    const double nan = DefaultNaN();
    return TComplex{nan, nan, nan, nan};
}

struct TCompiled {
    Expression Expr;
    std::vector<int> Deps;
    bool DepsFailed = false;  // ExpressionDependencies raised
};

enum class TSoundness : std::uint8_t { Unknown, Visiting, Sound, Unsound };

class TRecalc {
  public:
    explicit TRecalc(TPhasorArray& phasors)
        : Phasors(phasors),
          Compiled(phasors.size()),
          Soundness(phasors.size(), TSoundness::Unknown),
          State(phasors.size(), TEvalState::esPending),
          Stamp(phasors.size(), 0) {}

    void NamePass();
    void ValuePass();

  private:
    struct TFrame {
        int Node;
        std::size_t Next;
    };

    TPhasorArray& Phasors;
    std::vector<std::optional<TCompiled>> Compiled;
    std::vector<TSoundness> Soundness;
    // Traversal states, valid only where Stamp equals the current generation; a new
    // generation resets every state to pending without touching the whole list.
    std::vector<TEvalState> State;
    std::vector<std::uint32_t> Stamp;
    std::uint32_t Generation = 0;
    std::vector<TFrame> Frames;

    bool Defined(int i) const { return !Phasors[i].Definition.Empty(); }
    const TCompiled& Compile(int i);
    bool IsSound(int root);
    TEvalState StateOf(int i) const {
        return Stamp[i] == Generation ? State[i] : TEvalState::esPending;
    }
    void SetState(int i, TEvalState s) {
        Stamp[i] = Generation;
        State[i] = s;
        Phasors[i].EvalState = s;
    }
    void RecordSyntaxError(int i, const Expression& expr);
    void RecordError(int i, std::int32_t code, const std::string& text);
    bool EvaluateDependencies(const TCompiled& c);
    bool EvaluatePhasor(int d);
    bool Enter(int d);
    void EvaluateValuePhasor(int p);
};

const TCompiled& TRecalc::Compile(int i) {
    std::optional<TCompiled>& slot = Compiled[i];
    if (!slot) {
        slot.emplace();
        slot->Expr = Parse(Phasors[i].Definition.View(), Phasors);
        if (!slot->Expr.Failed) {
            try {
                slot->Deps = ExpressionDependencies(slot->Expr, Phasors);
            } catch (const EvalError&) {
                slot->DepsFailed = true;
            }
        }
    }
    return *slot;
}

// Depth-first over the defined dependencies, iteratively so that long chains cannot exhaust
// the stack. A sound phasor gets its value here, once.
bool TRecalc::IsSound(int root) {
    if (Soundness[root] == TSoundness::Unknown) {
        std::vector<TFrame> stack{{root, 0}};
        Soundness[root] = TSoundness::Visiting;
        while (!stack.empty()) {
            TFrame& f = stack.back();
            const TCompiled& c = Compile(f.Node);
            TSoundness verdict = TSoundness::Visiting;
            if (c.Expr.Failed || c.DepsFailed) {
                verdict = TSoundness::Unsound;
            } else if (f.Next < c.Deps.size()) {
                const int d = c.Deps[f.Next];
                if (!Defined(d) || Soundness[d] == TSoundness::Sound) {
                    ++f.Next;
                } else if (Soundness[d] == TSoundness::Unknown) {
                    Soundness[d] = TSoundness::Visiting;
                    stack.push_back({d, 0});  // f is re-read when d is decided
                } else {
                    verdict = TSoundness::Unsound;  // a failure below, or a cycle
                }
                if (verdict == TSoundness::Visiting) continue;
            } else {
                try {
                    Phasors[f.Node].Value = EvalExpr(c.Expr, Phasors);
                    verdict = TSoundness::Sound;
                } catch (const EvalError&) {
                    verdict = TSoundness::Unsound;
                }
            }
            Soundness[f.Node] = verdict;
            stack.pop_back();
        }
    }
    return Soundness[root] == TSoundness::Sound;
}

void TRecalc::RecordError(int i, std::int32_t code, const std::string& text) {
    TPhasor& p = Phasors[i];
    p.ErrorText = text;  // cut to 255 characters
    p.ErrorCode = code;
    SetState(i, TEvalState::esFailed);
}

void TRecalc::RecordSyntaxError(int i, const Expression& expr) {
    RecordError(i, SyntaxErrorCode(expr.ErrorPos), SyntaxErrorText(expr.ErrorPos, expr.ErrorKind));
}

// Starts the evaluation of d; false when that already failed (the error is recorded).
bool TRecalc::Enter(int d) {
    SetState(d, TEvalState::esInProgress);
    Phasors[d].Value = NaNValue();
    const TCompiled& c = Compile(d);
    if (c.Expr.Failed) {
        RecordSyntaxError(d, c.Expr);
        return false;
    }
    if (c.DepsFailed) return false;  // an evaluator error: nobody carries it
    Frames.push_back({d, 0});
    return true;
}

// Evaluates d with its dependencies; false is the silent abort of the whole traversal (also
// for evaluator errors, which carry no message).
bool TRecalc::EvaluatePhasor(int d) {
    Frames.clear();
    if (!Enter(d)) return false;
    while (!Frames.empty()) {
        TFrame& f = Frames.back();
        const TCompiled& c = *Compiled[f.Node];
        if (f.Next < c.Deps.size()) {
            const int e = c.Deps[f.Next++];
            if (!Defined(e) || IsSound(e)) continue;
            switch (StateOf(e)) {
                case TEvalState::esPending:
                    if (!Enter(e)) return false;
                    break;
                case TEvalState::esInProgress:
                    RecordError(f.Node, ErrDependency, CircularText + Phasors[e].Name.Str());
                    return false;
                case TEvalState::esDone:
                    break;
                case TEvalState::esFailed:  // cannot arise: every failure ends the traversal
                    RecordError(f.Node, ErrDependency,
                                FailedDependencyText + Phasors[e].Name.Str() + ")");
                    return false;
            }
            continue;
        }
        try {
            Phasors[f.Node].Value = EvalExpr(c.Expr, Phasors);
        } catch (const EvalError&) {
            return false;
        }
        SetState(f.Node, TEvalState::esDone);
        Frames.pop_back();
    }
    return true;
}

bool TRecalc::EvaluateDependencies(const TCompiled& c) {
    ++Generation;  // every phasor back to pending
    for (const int d : c.Deps)
        if (Defined(d) && !IsSound(d) && StateOf(d) == TEvalState::esPending)
            if (!EvaluatePhasor(d)) return false;
    return true;
}

void TRecalc::EvaluateValuePhasor(int p) {
    if (IsSound(p)) {  // the value is in place already
        Phasors[p].EvalState = TEvalState::esDone;
        return;
    }
    const TCompiled& c = Compile(p);
    bool ok = false;
    if (c.Expr.Failed) {
        RecordSyntaxError(p, c.Expr);
    } else if (!c.DepsFailed && EvaluateDependencies(c)) {
        try {
            Phasors[p].Value = EvalExpr(c.Expr, Phasors);
            ok = true;
        } catch (const EvalError&) {
        }
    }
    if (!ok) {
        Phasors[p].EvalState = TEvalState::esFailed;
        Phasors[p].Value = NaNValue();
    }
}

void TRecalc::NamePass() {
    for (TPhasor& p : Phasors) {
        if (IsValidPhasorName(p.Name.View())) {
            p.ErrorCode = 0;
            p.ErrorText = "";
        } else {
            p.ErrorCode = ErrInvalidName;
            p.ErrorText = InvalidNameText;
        }
    }
}

void TRecalc::ValuePass() {
    for (std::size_t i = 0; i < Phasors.size(); ++i)
        if (Phasors[i].ErrorCode == 0 && Defined(static_cast<int>(i)))
            EvaluateValuePhasor(static_cast<int>(i));
}

}  // namespace

std::int32_t SyntaxErrorCode(std::int32_t errorPos) {
    return errorPos == 0 ? ErrSyntaxAtStart : errorPos;
}

TRecalcResult RecalculateAll(TPhasorArray& phasors) {
    TRecalc recalc(phasors);
    recalc.NamePass();
    recalc.ValuePass();
    TRecalcResult result;
    for (std::size_t i = 0; i < phasors.size(); ++i) {
        const TPhasor& p = phasors[i];
        if (p.ErrorCode != 0)
            result.Errors.push_back({p.Name.Str() + ": " + p.ErrorText.Str(), static_cast<int>(i)});
    }
    if (!result.Errors.empty()) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, result.Errors.size()).ptr;
        result.StatusText = std::string(digits, end) + StatusSuffix;
    }
    return result;
}

}  // namespace zeigora
