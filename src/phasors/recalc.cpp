// Recalculation of every phasor in dependency order.
//
// The observable rules: a phasor of the value pass evaluates its whole dependency tree afresh
// with all states reset; a failure aborts that phasor's evaluation at once and the error
// lands on the phasor where it was found (the syntax error's owner, or the phasor whose
// dependency was found in progress); dependents of a failure only get NaN. Done literally that
// is one walk per phasor, quadratic for long chains and cycles.
//
// Here the dependency graph is analysed once (depanalysis.h): it yields every value and, for
// every phasor, the failure its walk would meet. The value pass then only records those
// failures in list order, which decides which phasors are skipped and which message stands
// last. The working states are those the last reset leaves: that one walk is run as it is.
// A walk never meets a phasor that failed earlier in it (every failure ends the walk), so the
// warning about faulty dependencies that such a meeting would give never arises.
#include "phasors/recalc.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "complex/cp1252text.h"
#include "parser/complexParser.h"
#include "phasors/depanalysis.h"

namespace zeigora {

namespace {

const char* const InvalidNameText = "Ungültiger Zeigername"_cp;
const char* const CircularText = "Zirkuläre Referenz in "_cp;
const char* const StatusSuffix = " Fehler (hier rechtsklicken)";

TComplex NaNValue() {
    const double nan = DefaultNaN();
    return TComplex{nan, nan, nan, nan};
}

class TRecalc {
  public:
    explicit TRecalc(TPhasorArray& phasors) : Phasors(phasors) {}

    void NamePass();
    void ValuePass();

  private:
    TPhasorArray& Phasors;
    int LastReset = -1;                 // the value-pass phasor whose walk ran last
    std::vector<int> FailedAfterReset;  // value-pass phasors failed by syntax since then

    void Record(const TDependencyAnalysis& graph, const TWalkFailure& failure);
    void RecordError(int i, std::int32_t code, const std::string& text);
    void SetStates(const TDependencyAnalysis& graph);
    std::vector<TEvalState> WalkStates(const TDependencyAnalysis& graph, int p) const;
};

void TRecalc::RecordError(int i, std::int32_t code, const std::string& text) {
    TPhasor& p = Phasors[i];
    p.ErrorText = text;  // cut to 255 characters
    p.ErrorCode = code;
}

void TRecalc::Record(const TDependencyAnalysis& graph, const TWalkFailure& failure) {
    switch (failure.Kind) {
        case TWalkFailure::Syntax: {
            const Expression& e = graph.Expr(failure.Node);
            RecordError(failure.Node, SyntaxErrorCode(e.ErrorPos),
                        SyntaxErrorText(e.ErrorPos, e.ErrorKind));
            break;
        }
        case TWalkFailure::Circular:
            RecordError(failure.Node, ErrDependency,
                        CircularText + Phasors[failure.Target].Name.Str());
            break;
        case TWalkFailure::None:
        case TWalkFailure::Silent:
            break;
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
    const TDependencyAnalysis graph(Phasors);  // writes the values of the sound phasors
    for (std::size_t n = 0; n < Phasors.size(); ++n) {
        const int i = static_cast<int>(n);
        if (!graph.Analysed(i) || Phasors[n].ErrorCode != 0) continue;
        if (graph.Expr(i).Failed) {
            Record(graph, {TWalkFailure::Syntax, i});
            FailedAfterReset.push_back(i);
            continue;
        }
        LastReset = i;
        FailedAfterReset.clear();
        Record(graph, graph.FailureBelow(i));
    }
    // Every walk that enters an unsound phasor leaves it at NaN, and each is entered at least
    // at its own turn or when it failed for another.
    for (std::size_t n = 0; n < Phasors.size(); ++n)
        if (graph.Analysed(static_cast<int>(n)) && !graph.Sound(static_cast<int>(n)))
            Phasors[n].Value = NaNValue();
    SetStates(graph);
}

// Each walk first resets every state, so the states that stay are those of the last walk, then
// esFailed for the phasor of that walk if it failed and for the syntax errors after it. Without
// any walk, only the syntax errors changed a state.
void TRecalc::SetStates(const TDependencyAnalysis& graph) {
    if (LastReset >= 0) {
        const std::vector<TEvalState> states = WalkStates(graph, LastReset);
        for (std::size_t n = 0; n < Phasors.size(); ++n)
            Phasors[n].EvalState = states[n];
        if (!graph.Sound(LastReset)) Phasors[LastReset].EvalState = TEvalState::esFailed;
    }
    for (const int i : FailedAfterReset)
        Phasors[i].EvalState = TEvalState::esFailed;
}

// The walk over p's dependencies exactly as the evaluation runs it (iteratively), for the
// states alone: values and failures are known already.
std::vector<TEvalState> TRecalc::WalkStates(const TDependencyAnalysis& graph, int p) const {
    std::vector<TEvalState> state(Phasors.size(), TEvalState::esPending);
    struct TFrame {
        int Node;
        std::size_t Next;
    };
    std::vector<TFrame> frames;
    // Starts the evaluation of d; false ends the walk.
    const auto enter = [&](int d) {
        state[d] = graph.Expr(d).Failed ? TEvalState::esFailed : TEvalState::esInProgress;
        if (graph.Expr(d).Failed) return false;
        frames.push_back({d, 0});
        return true;
    };
    for (const int d : graph.Deps(p)) {
        if (state[d] != TEvalState::esPending) continue;
        if (!enter(d)) return state;
        while (!frames.empty()) {
            TFrame& f = frames.back();
            if (f.Next == graph.Deps(f.Node).size()) {
                if (graph.EvalFails(f.Node)) return state;  // left in progress
                state[f.Node] = TEvalState::esDone;
                frames.pop_back();
                continue;
            }
            const int e = graph.Deps(f.Node)[f.Next++];
            if (state[e] == TEvalState::esPending) {
                if (!enter(e)) return state;
            } else if (state[e] != TEvalState::esDone) {  // in progress: circular reference
                state[f.Node] = TEvalState::esFailed;
                return state;
            }
        }
    }
    return state;
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
