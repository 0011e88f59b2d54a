// The locus (Ortskurve) and the frequency response (Frequenzgang) of a circuit sweep, drawn
// on a drawing surface of any size.
#pragma once

#include <string>
#include <vector>

#include "circuit/circuitsweep.h"
#include "circuitplot/plotaxis.h"
#include "plane/paintboxex.h"

namespace zeigora {

struct TSweepPlotOptions {
    TSweepQuantity Quantity = TSweepQuantity::Z;
    std::string Title;         // cp1252, drawn at the top left
    std::string XUnit = "Hz";  // unit of the swept x values
    bool Decibel = false;      // frequency response: magnitude in dB instead of a log axis
    bool AntiAliasing = true;
};

// Where the last picture put things, for the pointer read-out.
struct TSweepPlotGeometry {
    TPlotAxis X, Y;    // locus: Re and Im; frequency response: x and magnitude
    TPlotAxis PhaseY;  // frequency response: the phase in degrees
    TPlotRect Plot{}, PhasePlot{};
    std::vector<TPlotPoint> Curve;  // locus: pixel place of every sweep point
    std::vector<TRect> Texts;       // the box of every text drawn
};

// Unit of a quantity ("Ohm", "S", "V", "A", "VA") and its letter.
std::string QuantityUnit(TSweepQuantity q);
char QuantityLetter(TSweepQuantity q);

// The phase in degrees in (-180, 180].
double PhaseDegrees(const TComplex& z);

// "Resonanz bei 159,155 Hz"
std::string ResonanceText(double frequency);

void RenderLocus(TPaintBoxEx& surface, const TSweepResult& sweep, const TSweepPlotOptions& options,
                 TSweepPlotGeometry& geometry);

void RenderFrequencyResponse(TPaintBoxEx& surface, const TSweepResult& sweep,
                             const TSweepPlotOptions& options, TSweepPlotGeometry& geometry);

// Index of the sweep point whose locus place is nearest to (x, y) within maxDistance pixels,
// or -1.
int NearestLocusPoint(const TSweepPlotGeometry& geometry, double x, double y, double maxDistance);

}  // namespace zeigora
