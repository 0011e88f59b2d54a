// One element of a circuit over many frequencies, or over many values of one resistor,
// capacitor or coil at a fixed frequency; and the resonances of the element's impedance.
#pragma once

#include <cstddef>
#include <vector>

#include "circuit/circcalc.h"
#include "complex/complex.h"

namespace zeigora {

enum class TSweepQuantity { Z, Y, U, I, S };

// k = 0..points-1: from·(to/from)^(k/(points-1)), or with linear from + k·(to-from)/(points-1).
// One point gives from alone.
std::vector<double> SweepAxis(double from, double to, int points, bool linear);

struct TSweepPoint {
    double X;  // frequency in hertz, or the varied element's value
    TComplex Z;
    TComplex U;
    TComplex I;
};

// Y is 1/Z, S is U·conj(I), each formed as the circuit model forms it.
TComplex SweepValue(const TSweepPoint& point, TSweepQuantity quantity);

// Keeps its own copy of the tree's figures, so the tree may change or go away while a sweep
// runs, and any number of threads may call it at once. Every point is bit for bit what the
// circuit model (ComputeAll) gives for the element at that frequency or value.
class TCircuitSweeper {
  public:
    // element and vary are pre-order indices as FlattenCircuit numbers them; vary < 0 sweeps
    // the frequency, otherwise vary names a resistor, capacitor or coil whose value is swept
    // at the supply's frequency. An element outside the tree is taken as the root.
    TCircuitSweeper(const TCustomCircuitElement& root, const TCircuitSupply& supply, int element,
                    int vary = -1);

    std::size_t NodeCount() const { return Nodes.size(); }
    bool SweepsFrequency() const { return Vary < 0; }

    TSweepPoint At(double x) const;
    // Big sweeps are shared out among the processor's cores; the result never depends on it.
    std::vector<TSweepPoint> Run(const std::vector<double>& xs) const;

    // Where the phase of the element's Z crosses 0° between neighbouring points (the imaginary
    // part changes sign while the real part is not negative on both sides), each refined by
    // bisection until the bracket is within 1e-9 of its place. Empty for a value sweep.
    std::vector<double> Resonances(const std::vector<TSweepPoint>& points) const;

  private:
    struct TNode {
        TElementType Type;
        double Value;
        bool Parallel;
        int Parent;
        int End;  // one past the last node of its subtree
    };
    struct TScratch {
        std::vector<TComplex> Z;
        TComplexNumberArray Members;
    };

    void FindFixed();
    TCircuitSupply SupplyAt(double x) const;
    double ValueAt(std::size_t node, double x) const;
    // Impedances of the nodes first..end-1, one subtree, in the model's order of operations.
    void Impedances(TScratch& s, const TCircuitSupply& supply, double x, std::size_t first) const;
    TSweepPoint Point(TScratch& s, double x) const;
    TComplex ElementImpedance(TScratch& s, double x) const;
    double Bisect(TScratch& s, double lo, double hi, bool loPositive) const;

    std::vector<TNode> Nodes;
    // Resistors, and groups of nothing else, keep their impedance at every frequency: it is
    // computed once (the same arithmetic gives the same bits) and copied at each point.
    std::vector<char> Fixed;
    std::vector<TComplex> FixedZ;
    std::vector<int> Path;  // root .. element
    TCircuitSupply Supply;
    int Vary;
};

// A sweep with what its pictures mark on it.
struct TSweepResult {
    std::vector<TSweepPoint> Points;
    bool Linear = false;
    bool Frequency = true;  // false: the x values are the varied element's value
    // Logarithmic sweeps: 1, 2 and 5 times each power of ten inside the range; linear ones:
    // round steps of 1, 2 or 5 times a power of ten, about eight of them.
    std::vector<TSweepPoint> Marks;
    std::vector<TSweepPoint> Resonances;
    bool HasCurrent = false;  // the current point lies inside the range
    TSweepPoint Current{};
};

// The mark values of a range (see TSweepResult::Marks), ascending.
std::vector<double> SweepMarks(double from, double to, bool linear);

// Runs the sweep from..to with the given points and finds its resonances; current is the
// frequency (or value) the circuit is set to.
TSweepResult RunSweep(const TCircuitSweeper& sweeper, double from, double to, int points,
                      bool linear, double current);

}  // namespace zeigora
