// Arbitrary bytes as a circuit file: the reader either refuses them with a message or returns a
// well-formed tree, whose every element then computes without crashing; a loaded tree saves
// back to exactly the bytes it came from, apart from the zero-filled name areas and the
// normalised parallel byte. Its diagram draws into a small picture, every part gets its
// rectangle, and picking at a part's corner finds an element.
#include <stdlib.h>

#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "circuitdiagram/circgrph.h"
#include "platform/rastercanvas.h"

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

// Labels need a GUI application for their fonts; headless, with a private runtime folder.
void EnsureGuiApplication() {
    static int argc = 1;
    static char name[] = "fuzz_circuitfile";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() != nullptr) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::string runtime = "/tmp/zeigora-fuzz-XXXXXX";
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && mkdtemp(runtime.data()) != nullptr)
        qputenv("XDG_RUNTIME_DIR", QByteArray(runtime.c_str()));
    static QGuiApplication app(argc, argv);
}

void CheckDiagram(TCircuitElementGroup& root) {
    EnsureGuiApplication();
    static QImage image(160, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    TRasterCanvas canvas(&image);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    const TDiagramSize needed = NeededDiagramSize(canvas, root, {true, true});
    Check(needed.Width > 0 && needed.Height > 0 && needed.Height <= MaxNeededDiagramSide);
    DrawCircuit(canvas, root, image.height(), true, true);
    for (const TCircuitNode& n : FlattenCircuit(root)) {
        if (n.Element->ElementType() == etGroup) continue;
        const TDrawnRect& r = n.Element->DrawnRect;
        Check(r.Right - r.Left == SymbolWidth + 2 * ElementRectMarginX);
        Check(r.Bottom - r.Top == 2 * ElementRectHalfHeight);
        Check(FindElementAt({r.Left, r.Top}, &root) != nullptr);
    }
}

}  // namespace

// Font look-up caches its patterns for the life of the process; that is no leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

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
    CheckDiagram(*r.Circuit);
    return 0;
}
