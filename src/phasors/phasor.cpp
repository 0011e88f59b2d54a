#include "phasors/phasor.h"

#include <cstring>
#include <functional>

namespace zeigora {

TPhasor ZeroPhasor() {
    TPhasor p;
    std::memset(&p, 0, sizeof p);
    return p;
}

void InitPhasorNoName(TPhasor& p) {
    p.Name = "NoName";
    p.NameVisible = 1;
    p.Definition.Length = 0;
    p.Visible = 1;
    p.Style = 0;
    p.Width = 1;
    p.Scale = 0;
}

void InitPhasor(TPhasor& p) {
    InitPhasorNoName(p);
    p.Name = "Phasor";
    p.Value = MakeComplex(2.0, 1.0);
    p.Color = 0;
}

std::size_t AppendPhasor(TPhasorArray& list) {
    list.push_back(ZeroPhasor());
    InitPhasor(list.back());
    return list.size() - 1;
}

void DeletePhasorAt(TPhasorArray& list, std::size_t index) {
    if (index >= list.size()) return;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
}

int IndexOfPhasor(const TPhasor* p, const TPhasorArray& list) {
    if (p == nullptr || list.empty()) return -1;
    const TPhasor* first = list.data();
    // std::less gives a total order even for pointers outside the array.
    const std::less<const TPhasor*> before;
    if (before(p, first) || !before(p, first + list.size())) return -1;
    return static_cast<int>(p - first);
}

namespace {
bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

bool IsValidPhasorName(std::string_view name) {
    if (name.empty() || !IsAsciiLetter(name[0])) return false;
    for (char c : name.substr(1))
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c)) return false;
    return true;
}

}  // namespace zeigora
