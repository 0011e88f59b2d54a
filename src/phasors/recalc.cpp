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

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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

// What a phasor's ErrorText will say.
enum class TMessage : std::uint8_t { None, InvalidName, Syntax, Circular };

// The run works on compact copies of what it needs: lists of 100 000 records do not stay in
// the processor's caches, so the records are read once (names, definitions) and written once.
// Its memory is kept for the next run: the window recalculates after every change, and lists
// that long would otherwise ask the system for some 15 MB afresh each time.
class TRecalc {
  public:
    TRecalcResult Run(TPhasorArray& phasors);

  private:
    TPhasorArray* Phasors = nullptr;
    TPhasorNames Names{TPhasorArray{}};  // taken before anything is written
    TDependencyAnalysis Graph;
    std::vector<bool> ValidName;
    std::vector<std::int32_t> Code;  // ErrorCode as it stands
    std::vector<TMessage> Message;
    std::vector<int> Target;            // the phasor a circular reference names
    int LastReset = -1;                 // the value-pass phasor whose walk ran last
    std::vector<int> FailedAfterReset;  // value-pass phasors failed by syntax since then
    struct TFrame {
        int Node;
        std::uint32_t Next;
    };
    std::vector<TEvalState> States;  // as the last walk leaves them
    std::vector<TFrame> Frames;
    std::string Text;  // the message being written

    void NamePass();
    void ValuePass();
    TRecalcResult WriteBack();
    void Record(const TWalkFailure& failure);
    void AppendMessage(std::size_t i, std::string& out) const;
    void FinalStates();
    // Always inlined, see PrefetchRecord.
    [[gnu::always_inline]] void PrefetchParts(std::size_t n) const;
    void WalkStates(int p);
};

TRecalcResult TRecalc::Run(TPhasorArray& phasors) {
    Phasors = &phasors;
    Names.Assign(phasors);
    NamePass();
    Graph.Run(phasors, Names, ValidName);
    ValuePass();
    return WriteBack();
}

void TRecalc::Record(const TWalkFailure& failure) {
    const int i = failure.Node;
    switch (failure.Kind) {
        case TWalkFailure::Syntax:
            Code[i] = SyntaxErrorCode(Graph.ErrorPos(i));
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
    const std::size_t count = Phasors->size();
    ValidName.assign(count, false);
    Code.resize(count);
    Message.resize(count);
    Target.resize(count);
    for (std::size_t n = 0; n < count; ++n) {
        ValidName[n] = IsValidPhasorName(Names.NameOf(n));
        Code[n] = ValidName[n] ? 0 : ErrInvalidName;
        Message[n] = ValidName[n] ? TMessage::None : TMessage::InvalidName;
    }
}

void TRecalc::ValuePass() {
    LastReset = -1;
    FailedAfterReset.clear();
    for (std::size_t n = 0; n < Phasors->size(); ++n) {
        const int i = static_cast<int>(n);
        if (!Graph.Analysed(i) || Code[n] != 0) continue;
        if (Graph.Failed(i)) {
            Record({TWalkFailure::Syntax, i});
            FailedAfterReset.push_back(i);
            continue;
        }
        LastReset = i;
        FailedAfterReset.clear();
        Record(Graph.FailureBelow(i));
    }
}

void TRecalc::AppendMessage(std::size_t i, std::string& out) const {
    switch (Message[i]) {
        case TMessage::InvalidName:
            out += InvalidNameText;
            break;
        case TMessage::Syntax:
            out += SyntaxErrorText(Graph.ErrorPos(static_cast<int>(i)),
                                   Graph.ErrorKind(static_cast<int>(i)));
            break;
        case TMessage::Circular:
            out.append(CircularText).append(Names.NameOf(static_cast<std::size_t>(Target[i])));
            break;
        case TMessage::None:
            break;
    }
}

// Each walk first resets every state, so the states that stay are those of the last walk, then
// esFailed for the phasor of that walk if it failed and for the syntax errors after it. Without
// any walk (States empty), only the syntax errors changed a state.
void TRecalc::FinalStates() {
    States.clear();
    if (LastReset < 0) return;
    WalkStates(LastReset);
    if (!Graph.Sound(LastReset)) States[LastReset] = TEvalState::esFailed;
    for (const int i : FailedAfterReset)
        States[i] = TEvalState::esFailed;
}

// Only what the write-back will read: most values stay as they are, most texts are short.
inline void TRecalc::PrefetchParts(std::size_t n) const {
    if (n >= Phasors->size()) return;
    PrefetchRecord(*Phasors, n, RecordPart::Working);
    const int i = static_cast<int>(n);
    if (Graph.Analysed(i) && Graph.ValueChanged(i))
        PrefetchRecord(*Phasors, n, RecordPart::ValueAndDefinition);
    if (Code[n] != 0) PrefetchRecord(*Phasors, n, RecordPart::MoreErrorText);
}

// Every walk that enters an unsound phasor leaves it at NaN, and each is entered at least at
// its own turn or when it failed for another; the analysis has the values. A phasor's error text
// is the end of its error list entry.
TRecalcResult TRecalc::WriteBack() {
    FinalStates();
    TRecalcResult result;
    result.Errors.reserve(static_cast<std::size_t>(
        std::count_if(Code.begin(), Code.end(), [](std::int32_t c) { return c != 0; })));
    for (std::size_t n = 0; n < Phasors->size(); ++n) {
        PrefetchParts(n + PrefetchDistance);
        TPhasor& p = (*Phasors)[n];
        const int i = static_cast<int>(n);
        if (Graph.Analysed(i) && Graph.ValueChanged(i)) p.Value = Graph.Value(i);
        if (!States.empty()) StoreChanged(p.EvalState, States[n]);
        StoreChanged(p.ErrorCode, Code[n]);
        if (Code[n] == 0) {  // no message
            StoreChanged(p.ErrorText, std::string_view());
            continue;
        }
        const std::string_view name = Names.NameOf(n);
        Text.clear();
        AppendMessage(n, Text);
        const std::string_view text = std::string_view(Text).substr(0, 255);  // as records hold it
        StoreChanged(p.ErrorText, text);
        std::string caption;
        caption.reserve(name.size() + 2 + text.size());  // one block of the size needed
        caption.append(name).append(": ").append(text);
        result.Errors.push_back({std::move(caption), i});
    }
    if (States.empty())
        for (const int i : FailedAfterReset)
            (*Phasors)[i].EvalState = TEvalState::esFailed;
    if (!result.Errors.empty()) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, result.Errors.size()).ptr;
        result.StatusText = std::string(digits, end) + StatusSuffix;
    }
    return result;
}

// The walk over p's dependencies exactly as the evaluation runs it (iteratively), for the
// states alone: values and failures are known already.
void TRecalc::WalkStates(int p) {
    States.assign(Phasors->size(), TEvalState::esPending);
    Frames.clear();
    // Starts the evaluation of d; false ends the walk.
    const auto enter = [&](int d) {
        States[d] = Graph.Failed(d) ? TEvalState::esFailed : TEvalState::esInProgress;
        if (Graph.Failed(d)) return false;
        Frames.push_back({d, 0});
        return true;
    };
    for (const int d : Graph.Deps(p)) {
        if (States[d] != TEvalState::esPending) continue;
        if (!enter(d)) return;
        while (!Frames.empty()) {
            TFrame& f = Frames.back();
            if (f.Next == Graph.Deps(f.Node).size()) {
                if (Graph.EvalFails(f.Node)) return;  // left in progress
                States[f.Node] = TEvalState::esDone;
                Frames.pop_back();
                continue;
            }
            const int e = Graph.Deps(f.Node)[f.Next++];
            if (States[e] == TEvalState::esPending) {
                if (!enter(e)) return;
            } else if (States[e] != TEvalState::esDone) {  // in progress: circular reference
                States[f.Node] = TEvalState::esFailed;
                return;
            }
        }
    }
}

}  // namespace

std::int32_t SyntaxErrorCode(std::int32_t errorPos) {
    return errorPos == 0 ? ErrSyntaxAtStart : errorPos;
}

TRecalcResult RecalculateAll(TPhasorArray& phasors) {
    thread_local TRecalc recalc;
    return recalc.Run(phasors);
}

}  // namespace zeigora
