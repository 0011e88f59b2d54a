#include "circuit/circcalc.h"

#include <utility>

#include "circuit/circuitquery.h"

namespace zeigora {

namespace {

// Stored with both forms spelled out: the reactances are formed by polar products with them.
constexpr TComplex J{0.0, 1.0, 1.0, 1.5707963267948966};
constexpr TComplex MJ{0.0, -1.0, 1.0, 4.71238898038469};

}  // namespace

TCustomCircuitElement::TCustomCircuitElement(TElementType type, double value, std::string_view name)
    : ElementValue(value), ElementType_(type) {
    Name = name;
}

bool TCustomCircuitElement::RemoveFromParent(bool removeEmptyGroups) {
    if (Parent_ == nullptr) return false;
    Parent_->Delete(Parent_->IndexOf(this), removeEmptyGroups, true);
    return true;
}

TComplex LeafImpedance(TElementType type, double value, const TCircuitSupply& supply) {
    if (type == etCoil) return ComplexMul(J, MakeComplex(supply.Omega * value, 0.0));
    if (type == etCapacitor) {
        const long double product =
            static_cast<long double>(supply.Omega) * static_cast<long double>(value);
        const double x = static_cast<double>(1.0L / product);
        return ComplexMul(MJ, MakeComplex(x, 0.0));
    }
    return MakeComplex(value, 0.0);
}

TComplex TResistor::GetImpedance(const TCircuitSupply& supply) const {
    return LeafImpedance(etResistor, ElementValue, supply);
}

TComplex TCoil::GetImpedance(const TCircuitSupply& supply) const {
    return LeafImpedance(etCoil, ElementValue, supply);
}

TComplex TCapacitor::GetImpedance(const TCircuitSupply& supply) const {
    return LeafImpedance(etCapacitor, ElementValue, supply);
}

TComplex CombineImpedances(TComplexNumberArray& impedances, bool parallel) {
    if (!parallel) return ComplexSum(impedances);
    ReciprocalAll(impedances);
    TComplex z = ComplexSum(impedances);
    ReciprocalInPlace(z);
    return z;
}

TCircuitElementGroup::~TCircuitElementGroup() {
    // Unlink grandchildren before their group dies so that no destructor recurses.
    TCustomCircuitElementArray pending = std::move(Elements_);
    while (!pending.empty()) {
        std::unique_ptr<TCustomCircuitElement> element = std::move(pending.back());
        pending.pop_back();
        if (element->ElementType() == etGroup) {
            auto& inner = static_cast<TCircuitElementGroup&>(*element).Elements_;
            for (auto& child : inner)
                pending.push_back(std::move(child));
            inner.clear();
        }
    }
}

TComplex TCircuitElementGroup::GetImpedance(const TCircuitSupply& supply) const {
    return CircuitImpedances(FlattenCircuit(*this), supply).front();
}

TCustomCircuitElement* TCircuitElementGroup::Items(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return Elements_[static_cast<std::size_t>(index)].get();
}

int TCircuitElementGroup::IndexOf(const TCustomCircuitElement* element) const {
    for (std::size_t i = 0; i < Elements_.size(); ++i)
        if (Elements_[i].get() == element) return static_cast<int>(i);
    return -1;
}

bool TCircuitElementGroup::CanAdopt(const TCustomCircuitElement* element) const {
    if (element == nullptr || element == this) return false;
    // Only a group with members can hold this one; the walk up is skipped for the rest.
    if (element->ElementType() != etGroup ||
        static_cast<const TCircuitElementGroup*>(element)->Count() == 0)
        return true;
    for (const TCustomCircuitElement* g = this; g != nullptr; g = g->Parent())
        if (g == element) return false;
    return true;
}

void TCircuitElementGroup::Adopt(std::unique_ptr<TCustomCircuitElement> element) {
    element->Parent_ = this;
    Elements_.push_back(std::move(element));
}

std::unique_ptr<TCustomCircuitElement> TCircuitElementGroup::Delete(int index,
                                                                    bool removeEmptyGroups,
                                                                    bool freeElement) {
    if (index < 0 || index >= Count()) return nullptr;
    std::unique_ptr<TCustomCircuitElement> detached = std::move(Elements_[index]);
    Elements_.erase(Elements_.begin() + index);
    detached->Parent_ = nullptr;
    if (freeElement) detached.reset();
    // Emptiness climbs towards the root; done in a loop because the tree may be deep.
    TCircuitElementGroup* group = this;
    while (removeEmptyGroups && group->Elements_.empty() && group->Parent_ != nullptr) {
        TCircuitElementGroup* parent = group->Parent_;
        const int at = parent->IndexOf(group);
        std::unique_ptr<TCustomCircuitElement> dead = std::move(parent->Elements_[at]);
        parent->Elements_.erase(parent->Elements_.begin() + at);
        group = parent;
    }
    return detached;
}

void TCircuitElementGroup::Clear() {
    while (Count() >= 1)
        Delete(0, false, true);
}

std::unique_ptr<TCircuitElementGroup> MakeDefaultCircuit() {
    auto tank = std::make_unique<TCircuitElementGroup>();
    tank->Name = "Schwingkreis 1";
    tank->IsParallel = true;
    tank->Add(std::make_unique<TCoil>(DefaultInductance));
    tank->Add(std::make_unique<TCapacitor>(DefaultCapacitance));
    auto circuit = std::make_unique<TCircuitElementGroup>();
    circuit->Name = "Schaltung 1";
    circuit->Add(std::make_unique<TResistor>(DefaultResistance));
    circuit->Add(std::move(tank));
    return circuit;
}

}  // namespace zeigora
