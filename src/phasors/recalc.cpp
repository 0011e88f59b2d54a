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
#include "phasors/phasornames.h"
#include "phasors/prefetch.h"

namespace zeigora {

namespace {

const char* const InvalidNameText = "Ungültiger Zeigername"_cp;
const char* const CircularText = "Zirkuläre Referenz in "_cp;
const char* const StatusSuffix = " Fehler (hier rechtsklicken)";

TComplex NaNValue() {
    const double nan = DefaultNaN();
    return TComplex{nan, nan, nan, nan};
}

// What a phasor's ErrorText will say.
enum class TMessage : std::uint8_t { None, InvalidName, Syntax, Circular };

// The run works on compact copies of what it needs: lists of 100 000 records do not stay in
// the processor's caches, so the records are read once (names, definitions) and written once.
class TRecalc {
  public:
    explicit TRecalc(TPhasorArray& phasors)
        : Names(phasors),
          ValidName(phasors.size()),
          Phasors(phasors),
          Code(phasors.size(), 0),
          Message(phasors.size(), TMessage::None),
          Target(phasors.size(), -1) {}

    void NamePass();
    void ValuePass(const TDependencyAnalysis& graph);
    TRecalcResult WriteBack(const TDependencyAnalysis& graph);

    const TPhasorNames Names;  // taken before anything is written
    std::vector<bool> ValidName;

  private:
    TPhasorArray& Phasors;
    std::vector<std::int32_t> Code;  // ErrorCode as it stands
    std::vector<TMessage> Message;
    std::vector<int> Target;            // the phasor a circular reference names
    int LastReset = -1;                 // the value-pass phasor whose walk ran last
    std::vector<int> FailedAfterReset;  // value-pass phasors failed by syntax since then

    void Record(const TDependencyAnalysis& graph, const TWalkFailure& failure);
    std::string MessageText(const TDependencyAnalysis& graph, std::size_t i) const;
    std::vector<TEvalState> FinalStates(const TDependencyAnalysis& graph) const;
    std::vector<TEvalState> WalkStates(const TDependencyAnalysis& graph, int p) const;
};

void TRecalc::Record(const TDependencyAnalysis& graph, const TWalkFailure& failure) {
    const int i = failure.Node;
    switch (failure.Kind) {
        case TWalkFailure::Syntax:
            Code[i] = SyntaxErrorCode(graph.ErrorPos(i));
            Message[i] = TMessage::Syntax;
            break;
        case TWalkFailure::Circular:
            Code[i] = ErrDependency;
            Message[i] = TMessage::Circular;
            Target[i] = failure.Target;
            break;
        case TWalkFailure::None:
        case TWalkFailure::Silent:
            break;
    }
}

void TRecalc::NamePass() {
    for (std::size_t n = 0; n < Phasors.size(); ++n) {
        ValidName[n] = IsValidPhasorName(Names.NameOf(n));
        Code[n] = ValidName[n] ? 0 : ErrInvalidName;
        Message[n] = ValidName[n] ? TMessage::None : TMessage::InvalidName;
    }
}

void TRecalc::ValuePass(const TDependencyAnalysis& graph) {
    for (std::size_t n = 0; n < Phasors.size(); ++n) {
        const int i = static_cast<int>(n);
        if (!graph.Analysed(i) || Code[n] != 0) continue;
        if (graph.Failed(i)) {
            Record(graph, {TWalkFailure::Syntax, i});
            FailedAfterReset.push_back(i);
            continue;
        }
        LastReset = i;
        FailedAfterReset.clear();
        Record(graph, graph.FailureBelow(i));
    }
}

std::string TRecalc::MessageText(const TDependencyAnalysis& graph, std::size_t i) const {
    switch (Message[i]) {
        case TMessage::InvalidName:
            return InvalidNameText;
        case TMessage::Syntax:
            return SyntaxErrorText(graph.ErrorPos(static_cast<int>(i)),
                                   graph.ErrorKind(static_cast<int>(i)));
        case TMessage::Circular:
            return CircularText + std::string(Names.NameOf(static_cast<std::size_t>(Target[i])));
        case TMessage::None:
            break;
    }
    return {};
}

// Each walk first resets every state, so the states that stay are those of the last walk, then
// esFailed for the phasor of that walk if it failed and for the syntax errors after it. Without
// any walk (empty result), only the syntax errors changed a state.
std::vector<TEvalState> TRecalc::FinalStates(const TDependencyAnalysis& graph) const {
    if (LastReset < 0) return {};
    std::vector<TEvalState> states = WalkStates(graph, LastReset);
    if (!graph.Sound(LastReset)) states[LastReset] = TEvalState::esFailed;
    for (const int i : FailedAfterReset)
        states[i] = TEvalState::esFailed;
    return states;
}

// Every walk that enters an unsound phasor leaves it at NaN, and each is entered at least at
// its own turn or when it failed for another; sound ones have their values already.
TRecalcResult TRecalc::WriteBack(const TDependencyAnalysis& graph) {
    const std::vector<TEvalState> states = FinalStates(graph);
    TRecalcResult result;
    for (std::size_t n = 0; n < Phasors.size(); ++n) {
        PrefetchAhead(Phasors, n, TRecordPart::ValueAndDefinition);
        PrefetchAhead(Phasors, n, TRecordPart::Working);
        TPhasor& p = Phasors[n];
        const int i = static_cast<int>(n);
        if (graph.Analysed(i) && !graph.Sound(i)) StoreChanged(p.Value, NaNValue());
        if (!states.empty()) StoreChanged(p.EvalState, states[n]);
        StoreChanged(p.ErrorCode, Code[n]);
        StoreChanged(p.ErrorText, MessageText(graph, n));  // cut to 255 characters
        if (Code[n] == 0) continue;
        std::string caption;
        caption.reserve(p.Name.Length + 2 + p.ErrorText.Length);
        caption.append(p.Name.View()).append(": ").append(p.ErrorText.View());
        result.Errors.push_back({std::move(caption), i});
    }
    if (states.empty())
        for (const int i : FailedAfterReset)
            Phasors[i].EvalState = TEvalState::esFailed;
    return result;
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
        state[d] = graph.Failed(d) ? TEvalState::esFailed : TEvalState::esInProgress;
        if (graph.Failed(d)) return false;
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
    const TDependencyAnalysis graph(phasors, recalc.Names, recalc.ValidName);
    recalc.ValuePass(graph);
    TRecalcResult result = recalc.WriteBack(graph);
    if (!result.Errors.empty()) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, result.Errors.size()).ptr;
        result.StatusText = std::string(digits, end) + StatusSuffix;
    }
    return result;
}

}  // namespace zeigora
