#include "circuit/circuitsweep.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "circuit/circuitquery.h"
#include "circuit/circutil.h"

namespace zeigora {

namespace {

// Below this many node evaluations a sweep is not worth a thread.
constexpr std::size_t ThreadThreshold = 40000;
constexpr int MaxThreads = 8;
constexpr double ResonanceTolerance = 1e-9;

int Sign(double x) {
    return (x > 0.0) - (x < 0.0);
}

}  // namespace

std::vector<double> SweepAxis(double from, double to, int points, bool linear) {
    std::vector<double> xs;
    if (points <= 0) return xs;
    xs.reserve(static_cast<std::size_t>(points));
    xs.push_back(from);
    const double last = points - 1;
    for (int k = 1; k < points; ++k) {
        if (linear)
            xs.push_back(from + k * (to - from) / last);
        else
            xs.push_back(from * std::pow(to / from, k / last));
    }
    return xs;
}

TComplex SweepValue(const TSweepPoint& point, TSweepQuantity quantity) {
    switch (quantity) {
        case TSweepQuantity::Z:
            return point.Z;
        case TSweepQuantity::Y: {
            TComplex y = point.Z;
            ReciprocalInPlace(y);
            return y;
        }
        case TSweepQuantity::U:
            return point.U;
        case TSweepQuantity::I:
            return point.I;
        case TSweepQuantity::S:
            return MulConj(point.U, point.I);
    }
    return point.Z;
}

TCircuitSweeper::TCircuitSweeper(const TCustomCircuitElement& root, const TCircuitSupply& supply,
                                 int element, int vary)
    : Supply(supply), Vary(vary) {
    const std::vector<TCircuitNode> flat = FlattenCircuit(root);
    Nodes.reserve(flat.size());
    for (const TCircuitNode& n : flat) {
        const bool parallel = n.Element->ElementType() == etGroup &&
                              static_cast<const TCircuitElementGroup*>(n.Element)->IsParallel;
        Nodes.push_back({n.Element->ElementType(), n.Element->ElementValue, parallel, n.Parent,
                         static_cast<int>(Nodes.size()) + 1});
    }
    // Ends grow from the leaves up: every node's subtree ends where its last member's does.
    for (std::size_t i = Nodes.size(); i-- > 1;) {
        TNode& parent = Nodes[static_cast<std::size_t>(Nodes[i].Parent)];
        parent.End = std::max(parent.End, Nodes[i].End);
    }
    if (element < 0 || static_cast<std::size_t>(element) >= Nodes.size()) element = 0;
    for (int e = element; e >= 0; e = Nodes[static_cast<std::size_t>(e)].Parent)
        Path.push_back(e);
    std::reverse(Path.begin(), Path.end());
    if (Vary >= 0 && (static_cast<std::size_t>(Vary) >= Nodes.size() ||
                      Nodes[static_cast<std::size_t>(Vary)].Type == etGroup))
        Vary = -1;
    FindFixed();
}

void TCircuitSweeper::FindFixed() {
    const std::size_t n = Nodes.size();
    Fixed.assign(n, 1);
    // A value sweep changes its element and everything above it; a frequency sweep every coil
    // and capacitor and everything above them.
    for (std::size_t i = n; i-- > 0;) {
        const bool moves = static_cast<int>(i) == Vary ||
                           (Vary < 0 && (Nodes[i].Type == etCoil || Nodes[i].Type == etCapacitor));
        if (!moves) continue;
        for (int k = static_cast<int>(i); k >= 0 && Fixed[static_cast<std::size_t>(k)];
             k = Nodes[static_cast<std::size_t>(k)].Parent)
            Fixed[static_cast<std::size_t>(k)] = 0;
    }
    TScratch s;
    s.Z.resize(n);
    FixedZ.clear();
    if (n > 0) Impedances(s, Supply, NAN, 0);
    FixedZ = std::move(s.Z);
}

TCircuitSupply TCircuitSweeper::SupplyAt(double x) const {
    TCircuitSupply supply = Supply;
    if (Vary < 0) supply.Omega = FrequencyToOmega(x);
    return supply;
}

double TCircuitSweeper::ValueAt(std::size_t node, double x) const {
    return static_cast<int>(node) == Vary ? x : Nodes[node].Value;
}

void TCircuitSweeper::Impedances(TScratch& s, const TCircuitSupply& supply, double x,
                                 std::size_t first) const {
    const std::size_t end = static_cast<std::size_t>(Nodes[first].End);
    if (s.Z.size() < Nodes.size()) s.Z.resize(Nodes.size());
    // Members follow their group, so a backward walk meets them first.
    const bool cached = !FixedZ.empty();
    for (std::size_t i = end; i-- > first;) {
        const TNode& node = Nodes[i];
        if (cached && Fixed[i]) {
            s.Z[i] = FixedZ[i];
            continue;
        }
        if (node.Type != etGroup) {
            s.Z[i] = LeafImpedance(node.Type, ValueAt(i, x), supply);
            continue;
        }
        s.Members.clear();
        for (std::size_t c = i + 1; c < static_cast<std::size_t>(node.End);
             c = static_cast<std::size_t>(Nodes[c].End))
            s.Members.push_back(s.Z[c]);
        s.Z[i] = CombineImpedances(s.Members, node.Parallel);
    }
}

TSweepPoint TCircuitSweeper::Point(TScratch& s, double x) const {
    const TCircuitSupply supply = SupplyAt(x);
    Impedances(s, supply, x, 0);
    // The supply lies across the root; a series member carries its group's current, a
    // parallel member sees its group's voltage.
    TComplex u = supply.SupplyVoltage;
    TComplex i = ComplexDiv(u, s.Z[0]);
    for (std::size_t k = 1; k < Path.size(); ++k) {
        const std::size_t node = static_cast<std::size_t>(Path[k]);
        if (Nodes[static_cast<std::size_t>(Nodes[node].Parent)].Parallel)
            i = ComplexDiv(u, s.Z[node]);
        else
            u = ComplexMul(s.Z[node], i);
    }
    return {x, s.Z[static_cast<std::size_t>(Path.back())], u, i};
}

TSweepPoint TCircuitSweeper::At(double x) const {
    TScratch s;
    return Point(s, x);
}

std::vector<TSweepPoint> TCircuitSweeper::Run(const std::vector<double>& xs) const {
    std::vector<TSweepPoint> points(xs.size());
    auto range = [&](std::size_t from, std::size_t to) {
        TScratch s;
        for (std::size_t k = from; k < to; ++k)
            points[k] = Point(s, xs[k]);
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::size_t threads = std::min<std::size_t>({cores, MaxThreads, xs.size()});
    if (xs.size() * Nodes.size() < ThreadThreshold) threads = 1;
    std::vector<std::thread> workers;
    const std::size_t share = threads == 0 ? 0 : (xs.size() + threads - 1) / threads;
    for (std::size_t t = 1; t < threads; ++t)
        workers.emplace_back(range, std::min(xs.size(), t * share),
                             std::min(xs.size(), (t + 1) * share));
    range(0, std::min(xs.size(), share));
    for (std::thread& w : workers)
        w.join();
    return points;
}

TComplex TCircuitSweeper::ElementImpedance(TScratch& s, double x) const {
    const std::size_t element = static_cast<std::size_t>(Path.back());
    Impedances(s, SupplyAt(x), x, element);
    return s.Z[element];
}

double TCircuitSweeper::Bisect(TScratch& s, double lo, double hi, bool loPositive) const {
    for (int step = 0; step < 200; ++step) {
        const double mid = lo + (hi - lo) / 2.0;
        if (std::fabs(hi - lo) <= ResonanceTolerance * std::fabs(mid) || mid == lo || mid == hi)
            return mid;
        const double im = ElementImpedance(s, mid).Im;
        if (im == 0.0) return mid;
        if ((im > 0.0) == loPositive)
            lo = mid;
        else
            hi = mid;
    }
    return lo + (hi - lo) / 2.0;
}

std::vector<double> TCircuitSweeper::Resonances(const std::vector<TSweepPoint>& points) const {
    std::vector<double> found;
    if (!SweepsFrequency()) return found;
    TScratch s;
    const TSweepPoint* last = nullptr;  // the last point with a sign
    for (const TSweepPoint& p : points) {
        const int sign = Sign(p.Z.Im);
        if (sign == 0) continue;
        if (last != nullptr && sign != Sign(last->Z.Im) && !(last->Z.Re < 0.0 && p.Z.Re < 0.0))
            found.push_back(Bisect(s, last->X, p.X, last->Z.Im > 0.0));
        last = &p;
    }
    return found;
}

std::vector<double> SweepMarks(double from, double to, bool linear) {
    std::vector<double> marks;
    const double lo = std::min(from, to), hi = std::max(from, to);
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo)) return marks;
    if (linear) {
        const double rough = (hi - lo) / 8.0;
        const double decade = std::pow(10.0, std::floor(std::log10(rough)));
        const double step = rough <= 2 * decade   ? 2 * decade
                            : rough <= 5 * decade ? 5 * decade
                                                  : 10 * decade;
        for (double k = std::ceil(lo / step); k * step <= hi && marks.size() < 100; k += 1.0)
            marks.push_back(k * step == 0.0 ? 0.0 : k * step);
        return marks;
    }
    if (!(lo > 0.0)) return marks;
    for (int e = static_cast<int>(std::floor(std::log10(lo))); e <= std::ceil(std::log10(hi)); ++e)
        for (const double m : {1.0, 2.0, 5.0}) {
            // Written out as text would be read, so that 1e-3 is the double "0.001" gives.
            const double v = e >= 0 ? m * std::pow(10.0, e) : m / std::pow(10.0, -e);
            if (v >= lo * (1 - 1e-12) && v <= hi * (1 + 1e-12)) marks.push_back(v);
        }
    return marks;
}

TSweepResult RunSweep(const TCircuitSweeper& sweeper, double from, double to, int points,
                      bool linear, double current) {
    TSweepResult r;
    r.Linear = linear;
    r.Frequency = sweeper.SweepsFrequency();
    r.Points = sweeper.Run(SweepAxis(from, to, points, linear));
    r.Marks = sweeper.Run(SweepMarks(from, to, linear));
    r.Resonances = sweeper.Run(sweeper.Resonances(r.Points));
    const double lo = std::min(from, to), hi = std::max(from, to);
    r.HasCurrent = current >= lo && current <= hi;
    if (r.HasCurrent) r.Current = sweeper.At(current);
    return r;
}

}  // namespace zeigora
