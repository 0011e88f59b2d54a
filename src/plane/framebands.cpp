#include "plane/framebands.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

namespace zeigora {

namespace {

// Frames to draw on one thread after a frame on two found the other core busy (its band
// finished much later than this thread's, or never started): the machine is shared.
std::atomic<int> OneThreadFrames{0};
constexpr int BusyPause = 30;

}  // namespace

bool WorthBands(const TPaintBoxEx& surface, TFrameCores cores) {
    if (cores == TFrameCores::One || surface.Recording() || surface.Height() < 64 ||
        static_cast<long long>(surface.Width()) * surface.Height() < 100000)
        return false;
    if (cores == TFrameCores::Both) return true;
    if (std::thread::hardware_concurrency() < 2) return false;
    int left = OneThreadFrames.load();
    while (left > 0)
        if (OneThreadFrames.compare_exchange_weak(left, left - 1)) return false;
    return true;
}

void DrawInBands(TPaintBoxEx& surface, int split,
                 const std::function<void(TPaintBoxEx&, bool)>& draw) {
    const int w = surface.Width(), h = surface.Height();
    // A second image object over the same memory: one paint device takes one painter at a time.
    TPaintBoxEx lower;
    lower.Bitmap =
        QImage(surface.Bitmap.bits(), w, h, surface.Bitmap.bytesPerLine(), surface.Bitmap.format());
    lower.SubSampling = surface.SubSampling;
    lower.FastAntialiasing = surface.FastAntialiasing;
    lower.BitmapCanvas().CopyStateFrom(surface.BitmapCanvas());
    lower.Clip = QRect(0, split, w, h - split);
    surface.Clip = QRect(0, 0, w, split);
    // Each band goes to whichever thread claims it first: when the helper is slow to start,
    // this thread draws both.
    std::atomic<int> next{0};
    std::exception_ptr failures[2];
    const auto work = [&] {
        int drawn = 0;
        for (int band; (band = next.fetch_add(1)) < 2; ++drawn) {
            try {
                draw(band == 0 ? surface : lower, band == 0);
            } catch (...) {
                failures[band] = std::current_exception();
            }
        }
        return drawn;
    };
    using TClock = std::chrono::steady_clock;
    const TClock::time_point start = TClock::now();
    std::thread helper(work);
    const int drawnHere = work();
    const TClock::time_point done = TClock::now();
    helper.join();
    if (drawnHere != 1 || (TClock::now() - done) * 2 > done - start) OneThreadFrames = BusyPause;
    surface.Clip = QRect();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace zeigora
