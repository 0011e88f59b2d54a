#include "plane/framebands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include <time.h>

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
    // The upper band's work grows with the split and the lower one's shrinks: the best split
    // on the 16-row grid lies where they cross, found by halving.
    int lo = 1, hi = (h - 16) / 16;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (BandWork(drawn, w, 0, mid * 16) < BandWork(drawn, w, mid * 16, h))
            lo = mid + 1;
        else
            hi = mid;
    }
    for (int k = std::max(lo - 1, 1); k <= lo && k * 16 + 16 <= h; ++k) {
        const double work = std::max(BandWork(drawn, w, 0, k * 16), BandWork(drawn, w, k * 16, h));
        if (work < bestWork) best = k * 16, bestWork = work;
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

namespace {

// CPU time the calling thread has run.
std::chrono::nanoseconds ThreadCpuTime() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

}  // namespace

// A thread that waits for one job at a time; it ends with the object.
class TBandWorker {
  public:
    TBandWorker() : Thread_([this] { Loop(); }) {}
    ~TBandWorker() {
        {
            const std::lock_guard<std::mutex> lock(Mutex_);
            Quit_ = true;
        }
        Wake_.notify_all();
        Thread_.join();
    }
    TBandWorker(const TBandWorker&) = delete;
    TBandWorker& operator=(const TBandWorker&) = delete;

    void Start(std::function<void()> job) {
        {
            const std::lock_guard<std::mutex> lock(Mutex_);
            Job_ = std::move(job);
        }
        Wake_.notify_all();
    }

    void Wait() {
        std::unique_lock<std::mutex> lock(Mutex_);
        Done_.wait(lock, [this] { return !Job_; });
    }

    // The lower band's surface, kept with its canvas and font cache.
    TPaintBoxEx Lower;

  private:
    void Loop() {
        std::unique_lock<std::mutex> lock(Mutex_);
        for (;;) {
            Wake_.wait(lock, [this] { return Quit_ || Job_; });
            if (Quit_) return;
            lock.unlock();
            Job_();
            lock.lock();
            Job_ = nullptr;
            Done_.notify_all();
        }
    }

    std::mutex Mutex_;
    std::condition_variable Wake_, Done_;
    std::function<void()> Job_;
    bool Quit_ = false;
    std::thread Thread_;  // last: it starts once everything else is there
};

void DrawInBands(TPaintBoxEx& surface, int split, TBandWorkerSlot& slot,
                 const std::function<void(TPaintBoxEx&, bool)>& draw) {
    if (!slot.Worker) slot.Worker = std::make_shared<TBandWorker>();
    TBandWorker& worker = *slot.Worker;
    const int w = surface.Width(), h = surface.Height();
    // A second image object over the same memory: one paint device takes one painter at a time.
    TPaintBoxEx& lower = worker.Lower;
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
    TClock::time_point helperDone = start;
    std::chrono::nanoseconds helperRan{0};
    worker.Start([&] {
        const std::chrono::nanoseconds before = ThreadCpuTime();
        work();
        helperRan = ThreadCpuTime() - before;
        helperDone = TClock::now();
    });
    const int drawnHere = work();
    worker.Wait();
    // The other core was busy when the helper could not take its band, or when it took much
    // longer to finish its band than it actually ran: it waited for the core.
    const auto waited = helperDone - start - helperRan;
    if (drawnHere != 1 || waited > helperRan / 2 + std::chrono::microseconds(500))
        OneThreadFrames = BusyPause;
    lower.Bitmap = QImage();  // holds no pointer into the surface between frames
    surface.Clip = QRect();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace zeigora
