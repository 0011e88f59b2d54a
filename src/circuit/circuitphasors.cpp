#include "circuit/circuitphasors.h"

#include <algorithm>
#include <string_view>

namespace zeigora {

namespace {

constexpr std::uint32_t VoltageColor = 0xFF0000;  // the hand-over colours of single U and I
constexpr std::uint32_t CurrentColor = 0x0000FF;
constexpr std::size_t MaxIdentifier = 40;

char KindLetter(TElementType kind) {
    switch (kind) {
        case etResistor:
            return 'R';
        case etCapacitor:
            return 'C';
        case etCoil:
            return 'L';
        default:
            return 'Z';
    }
}

bool IsUnnamed(const TCustomCircuitElement& e) {
    const std::string_view name = e.Name.View();
    return name.empty() || (name.size() == 1 && name[0] == KindLetter(e.ElementType()));
}

bool IsAsciiAlnum(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Letters and digits of a cp1252 label; umlauts and ß spelled out as in German addresses.
std::string Identifier(std::string_view label) {
    std::string id;
    for (const char c : label) {
        switch (static_cast<unsigned char>(c)) {
            case 0xE4:
                id += "ae";
                break;
            case 0xF6:
                id += "oe";
                break;
            case 0xFC:
                id += "ue";
                break;
            case 0xC4:
                id += "Ae";
                break;
            case 0xD6:
                id += "Oe";
                break;
            case 0xDC:
                id += "Ue";
                break;
            case 0xDF:
                id += "ss";
                break;
            default:
                if (IsAsciiAlnum(c)) id += c;
        }
    }
    if (id.size() > MaxIdentifier) id.resize(MaxIdentifier);
    return id;
}

bool NameTaken(std::string_view name, const TPhasorArray& a, const TPhasorArray& b) {
    auto same = [name](const TPhasor& p) { return p.Name.View() == name; };
    return std::any_of(a.begin(), a.end(), same) || std::any_of(b.begin(), b.end(), same);
}

// base itself, else base with "a", "b", ... or a number behind it.
std::string UniqueName(const std::string& base, const TPhasorArray& a, const TPhasorArray& b) {
    if (!NameTaken(base, a, b)) return base;
    for (char c = 'a'; c <= 'z'; ++c)
        if (!NameTaken(base + c, a, b)) return base + c;
    for (int k = 2;; ++k)
        if (!NameTaken(base + "x" + std::to_string(k), a, b)) return base + "x" + std::to_string(k);
}

}  // namespace

TPhasor MakePhasor(std::string name, TComplex value, bool current, std::uint32_t color) {
    TPhasor p = ZeroPhasor();
    p.Name = name;
    p.NameVisible = 1;
    p.Visible = 1;
    p.Value = value;
    p.Color = color;
    p.Width = 1;
    p.Scale = current ? 1 : 0;
    return p;
}

std::vector<std::string> ElementLabels(const std::vector<TCircuitNode>& nodes) {
    std::vector<std::string> labels;
    labels.reserve(nodes.size());
    int counts[4] = {0, 0, 0, 0};
    for (const TCircuitNode& n : nodes) {
        const TElementType kind = n.Element->ElementType();
        const int number = kind >= etGroup && kind <= etCoil ? ++counts[kind] : 0;
        if (IsUnnamed(*n.Element))
            labels.push_back(KindLetter(kind) + std::to_string(number));
        else
            labels.emplace_back(n.Element->Name.View());
    }
    return labels;
}

TGroupPhasors GroupPhasors(const TCustomCircuitElement& root, const TCircuitSupply& supply,
                           int index) {
    const std::vector<TCircuitNode> nodes = FlattenCircuit(root);
    const std::vector<TElementResult> all = ComputeAll(root, supply);
    const std::vector<std::string> labels = ElementLabels(nodes);
    if (index < 0 || static_cast<std::size_t>(index) >= nodes.size()) index = 0;
    const auto at = static_cast<std::size_t>(index);
    TGroupPhasors d;
    d.Label = labels[at];
    d.Kind = nodes[at].Element->ElementType();
    d.U = all[at].U;
    d.I = all[at].I;
    if (d.Kind != etGroup) return d;
    d.Parallel = static_cast<const TCircuitElementGroup*>(nodes[at].Element)->IsParallel;
    // The members are the nodes whose parent is this one; they follow it in pre-order.
    for (std::size_t k = at + 1; k < nodes.size() && nodes[k].Depth > nodes[at].Depth; ++k)
        if (nodes[k].Parent == index)
            d.Parts.push_back(
                {labels[k], nodes[k].Element->ElementType(), d.Parallel ? all[k].I : all[k].U});
    return d;
}

TPhasorArray HandOverPhasors(const TGroupPhasors& diagram, const TPhasorArray& existing) {
    const bool currents = diagram.PartsAreCurrents();
    const std::string partPrefix = currents ? "I" : "U";
    TPhasorArray out;
    std::string sum;
    for (const TDiagramPhasor& part : diagram.Parts) {
        const std::string name = UniqueName(partPrefix + Identifier(part.Label), existing, out);
        sum += (sum.empty() ? "" : "+") + name;
        out.push_back(MakePhasor(name, part.Value, currents, KindColor(part.Kind)));
    }
    const std::string id = Identifier(diagram.Label);
    TPhasor total =
        MakePhasor(UniqueName(partPrefix + id, existing, out), currents ? diagram.I : diagram.U,
                   currents, currents ? CurrentColor : VoltageColor);
    // A definition that would not fit the record stays a constant of the same value.
    if (!sum.empty() && sum.size() <= sizeof(TShortString::Chars)) total.Definition = sum;
    total.Width = 2;
    out.push_back(total);
    const std::string refPrefix = currents ? "U" : "I";
    out.push_back(MakePhasor(UniqueName(refPrefix + id, existing, out),
                             currents ? diagram.U : diagram.I, !currents,
                             currents ? VoltageColor : CurrentColor));
    return out;
}

std::uint32_t KindColor(TElementType kind) {
    switch (kind) {
        case etResistor:
            return 0x0000C0;  // dark red
        case etCapacitor:
            return 0x008000;  // green
        case etCoil:
            return 0xC06000;  // blue
        default:
            return 0x800080;  // purple
    }
}

}  // namespace zeigora
