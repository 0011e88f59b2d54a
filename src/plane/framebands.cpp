#include "plane/framebands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <thread>

namespace zeigora {

namespace {

// Frames to draw on one thread after a frame on two found the other core busy (its band
// finished much later than this thread's, or never started): the machine is shared.
std::atomic<int> OneThreadFrames{0};
constexpr int BusyPause = 30;

// Rough work of drawing the phasors within rows [top, bottom): a line that reaches them costs
// a fixed amount to set up and then its length among them times its width. The layers add a
// little per row.
double BandWork(const TDrawnPhasorArray& drawn, int width, int top, int bottom) {
    double work = 0.02 * width * (bottom - top);
    for (const TDrawnPhasor& d : drawn) {
        const double reach = 2.0 * d.Phasor->Width + 4;
        const double lo = std::min(d.Y1, d.Y2) - reach, hi = std::max(d.Y1, d.Y2) + reach;
        const double rows = std::min<double>(hi, bottom) - std::max<double>(lo, top);
        if (rows <= 0) continue;
        const double along = std::max(std::abs(d.X2 - d.X1), std::abs(d.Y2 - d.Y1));
        work += 300 + along * rows / (hi - lo) * std::max<int>(d.Phasor->Width, 1);
    }
    return work;
}

}  // namespace

int BandSplit(const TPaintBoxEx& surface, const TDrawnPhasorArray& drawn) {
    const int w = surface.Width(), h = surface.Height();
    int best = h / 2;
    double bestWork = std::max(BandWork(drawn, w, 0, best), BandWork(drawn, w, best, h));
    for (int split = 16; split + 16 <= h; split += 16) {
        const double work = std::max(BandWork(drawn, w, 0, split), BandWork(drawn, w, split, h));
        if (work < bestWork) best = split, bestWork = work;
    }
    return best;
}

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
