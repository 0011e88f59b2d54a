// Arbitrary bytes as a phasor file: loading must either take them whole and survive a
// recalculation, or refuse them and leave the list exactly as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "phasors/phasorfile.h"
#include "phasors/recalc.h"

namespace {

zeigora::TPhasorArray StartList() {
    zeigora::TPhasorArray list;
    zeigora::AppendPhasor(list);
    list[0].Name = "Zeiger1";
    list[0].Value = zeigora::MakeComplex(2.0, -1.0);
    zeigora::AppendPhasor(list);
    list[1].Name = "Zeiger2";
    list[1].Definition = "Zeiger1*j";
    return list;
}

// Recalculation is quadratic in the number of defined phasors; a few hundred records cover
// every code path.
constexpr std::size_t MaxRecords = 300;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > MaxRecords * zeigora::PhasorRecordSize) return 0;
    static const zeigora::TPhasorArray before = StartList();
    zeigora::TPhasorArray list = before;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zeigora::TPhasorFileResult r = zeigora::LoadPhasorsFromBytes(list, bytes);
    if (r.Ok()) {
        if (list.size() * zeigora::PhasorRecordSize != size) std::abort();
        if (size > 0 && std::memcmp(list.data(), data, size) != 0) std::abort();
        zeigora::RecalculateAll(list);
        return 0;
    }
    if (list.size() != before.size() ||
        std::memcmp(list.data(), before.data(), before.size() * sizeof(zeigora::TPhasor)) != 0)
        std::abort();
    return 0;
}
