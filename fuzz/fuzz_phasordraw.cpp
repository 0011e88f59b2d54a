// Arbitrary bytes as a phasor file, drawn: whatever values, names, colours, styles and widths
// the records carry (infinities, NaN, huge and tiny numbers), one frame of the plane is drawn
// onto the raster surface, and recorded as an EMF and an SVG picture that are completed and
// written. The first two bytes choose the surface size, the third the view settings.
#include <unistd.h>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "phasors/phasorfile.h"
#include "phasors/recalc.h"
#include "plane/frame.h"
#include "plane/paintboxex.h"
#include "platform/vectorstate.h"

namespace {

// The drawing is linear in the number of phasors; a few dozen records cover every path.
constexpr std::size_t MaxRecords = 40;
constexpr std::size_t HeaderSize = 3;

std::string PictureName() {
    return "/dev/shm/zeigora-fuzz-draw-" + std::to_string(getpid());
}

void Draw(zeigora::TPaintBoxEx& surface, zeigora::TPlaneView& view, zeigora::TPhasorArray& list) {
    zeigora::RenderPlane(surface, view, list, list.empty() ? nullptr : &list.front());
}

// Records one frame and completes the picture; a failure to save is reported as an exception,
// which a full or missing folder may cause and which is no fault of the drawing.
void Record(zeigora::TPaintBoxEx& surface, zeigora::TPlaneView view, zeigora::TPhasorArray& list,
            zeigora::TRecordingKind kind) {
    view.Settings.AntiAliasing = false;  // the recordings get plain lines, as in the program
    surface.BeginRecording(kind);
    Draw(surface, view, list);
    try {
        surface.EndRecording(PictureName());
    } catch (const std::runtime_error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives as long as the process: the fonts of the axis labels need it.
    static QGuiApplication application(*argc, *argv);
    zeigora::ClearUpperVectorState();
    std::atexit([] { std::remove(PictureName().c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < HeaderSize || size > HeaderSize + MaxRecords * zeigora::PhasorRecordSize) return 0;
    zeigora::TPhasorArray list;
    const std::string_view file(reinterpret_cast<const char*>(data) + HeaderSize,
                                size - HeaderSize);
    if (!zeigora::LoadPhasorsFromBytes(list, file).Ok()) return 0;
    zeigora::RecalculateAll(list);

    zeigora::TPaintBoxEx surface(1 + data[0] % 160, 1 + data[1] % 120);
    zeigora::TPlaneView view;
    const std::uint8_t flags = data[2];
    view.Settings.AntiAliasing = flags & 1;
    view.Settings.GraphicalAddition = flags & 2;
    view.Settings.SubGridVisible = flags & 4;
    view.Settings.Scale1 = (flags & 8) ? 1e-300 : 1;
    view.Settings.Scale2 = (flags & 16) ? 1e300 : 1;
    Draw(surface, view, list);
    Record(surface, view, list, zeigora::TRecordingKind::Emf);
    Record(surface, view, list, zeigora::TRecordingKind::Svg);
    return 0;
}
