// The circuit tree: resistors, capacitors and coils in nested series and parallel groups.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "circuit/circutil.h"
#include "complex/complex.h"
#include "phasors/shortstring.h"

namespace zeigora {

enum TElementType : std::int32_t {
    etNone = -1,  // the abstract base only; never in a tree or a file
    etGroup = 0,
    etResistor = 1,
    etCapacitor = 2,
    etCoil = 3,
};

// What the user interface gives a new element.
inline constexpr double DefaultResistance = 2200.0;
inline constexpr double DefaultInductance = 0.3;
inline constexpr double DefaultCapacitance = 1e-6;

// Deepest nesting the file reader accepts (the outermost group is depth 0). Code that walks a
// tree recursively may rely on it only for trees that came from a file; the model itself is
// iterative everywhere.
inline constexpr int MaxCircuitDepth = 64;

// The electrical setting of one circuit window: angular frequency and the voltage across the
// outermost group.
struct TCircuitSupply {
    double Omega = FrequencyToOmega(50.0);
    TComplex SupplyVoltage = MakeComplex(230.0, 0.0);
};

struct TDrawnRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
};

class TCircuitElementGroup;

class TCustomCircuitElement {
  public:
    virtual ~TCustomCircuitElement() = default;
    TCustomCircuitElement(const TCustomCircuitElement&) = delete;
    TCustomCircuitElement& operator=(const TCustomCircuitElement&) = delete;

    // Impedance at the supply's angular frequency.
    virtual TComplex GetImpedance(const TCircuitSupply& supply) const = 0;

    TElementType ElementType() const { return ElementType_; }
    TCircuitElementGroup* Parent() const { return Parent_; }

    // Detaches and destroys the element through its parent. An element without a parent is
    // owned by whoever holds it, so nothing happens; returns whether it was removed.
    bool RemoveFromParent(bool removeEmptyGroups);

    double ElementValue = 0.0;
    TShortString Name{};   // assigning a longer text keeps its first 255 characters
    TDrawnRect DrawnRect;  // area of the last diagram drawing, for hit testing

  protected:
    TCustomCircuitElement(TElementType type, double value, std::string_view name);

  private:
    friend class TCircuitElementGroup;
    TCircuitElementGroup* Parent_ = nullptr;  // not owning
    TElementType ElementType_;
};

class TResistor : public TCustomCircuitElement {
  public:
    explicit TResistor(double value) : TCustomCircuitElement(etResistor, value, "R") {}
    TComplex GetImpedance(const TCircuitSupply& supply) const override;
};

class TCapacitor : public TCustomCircuitElement {
  public:
    explicit TCapacitor(double value) : TCustomCircuitElement(etCapacitor, value, "C") {}
    TComplex GetImpedance(const TCircuitSupply& supply) const override;
};

class TCoil : public TCustomCircuitElement {
  public:
    explicit TCoil(double value) : TCustomCircuitElement(etCoil, value, "L") {}
    TComplex GetImpedance(const TCircuitSupply& supply) const override;
};

using TCustomCircuitElementArray = std::vector<std::unique_ptr<TCustomCircuitElement>>;

class TCircuitElementGroup : public TCustomCircuitElement {
  public:
    TCircuitElementGroup() : TCustomCircuitElement(etGroup, 0.0, "Z") {}
    // Frees the subtree without recursion, so any nesting depth is safe.
    ~TCircuitElementGroup() override;

    TComplex GetImpedance(const TCircuitSupply& supply) const override;

    int Count() const { return static_cast<int>(Elements_.size()); }
    // nullptr for an index outside 0..Count()-1.
    TCustomCircuitElement* Items(int index) const;
    int IndexOf(const TCustomCircuitElement* element) const;

    // Appends the element and takes it over. An element that would contain this group (a
    // cycle) is refused: the caller keeps it and gets nullptr.
    template <class T>
    T* Add(std::unique_ptr<T>&& element) {
        T* raw = element.get();
        if (!CanAdopt(raw)) return nullptr;
        Adopt(std::unique_ptr<TCustomCircuitElement>(element.release()));
        return raw;
    }

    // Removes the element at index. With freeElement the element is destroyed and nullptr is
    // returned; otherwise it is handed back without a parent for the caller to add elsewhere.
    // With removeEmptyGroups a group left empty is removed from its parent too, up to (not
    // including) the outermost group. An index out of range changes nothing.
    std::unique_ptr<TCustomCircuitElement> Delete(int index, bool removeEmptyGroups,
                                                  bool freeElement);
    void Clear();

    bool IsParallel = false;

  private:
    bool CanAdopt(const TCustomCircuitElement* element) const;
    void Adopt(std::unique_ptr<TCustomCircuitElement> element);

    TCustomCircuitElementArray Elements_;
};

// The impedance of a resistor, capacitor or coil of that value; what their GetImpedance gives.
TComplex LeafImpedance(TElementType type, double value, const TCircuitSupply& supply);

// The impedance of a group from its members' impedances, in member order: the sum for series,
// 1 / sum(1/Zi) for parallel. The array is used as scratch space.
TComplex CombineImpedances(TComplexNumberArray& impedances, bool parallel);

// Series group "Schaltung 1": resistor R 2200 Ohm, then the parallel group "Schwingkreis 1" of
// coil L 0.3 H and capacitor C 1 uF.
std::unique_ptr<TCircuitElementGroup> MakeDefaultCircuit();

}  // namespace zeigora
