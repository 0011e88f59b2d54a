#include "mainwindow/rootphasors.h"

#include "complex/cp1252text.h"

namespace zeigora {

std::string RootDefinition(std::string_view radicandName, int k, int n) {
    const std::string degree = std::to_string(n);
    return std::string(radicandName) + "^(1/" + degree + ")*e^(j*" + std::to_string(k - 1) +
           "*360°/"_cp + degree + ")";
}

void BuildRootPhasors(TPhasorArray& phasors, int degree) {
    const int n = degree < 0 ? 0 : degree;
    phasors.resize(static_cast<std::size_t>(n) + 1, ZeroPhasor());
    const std::string radicand = phasors[0].Name.Str();
    const std::uint32_t color = phasors[0].Color;
    for (int k = 1; k <= n; ++k) {
        TPhasor& solution = phasors[static_cast<std::size_t>(k)];
        InitPhasor(solution);
        solution.Definition = RootDefinition(radicand, k, n);
        solution.Color = color;
        solution.Name = "Loesung" + std::to_string(k);
    }
}

}  // namespace zeigora
