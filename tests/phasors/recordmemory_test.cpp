#include <gtest/gtest.h>

#include <cstdint>

#include "phasors/phasor.h"

namespace zeigora {
namespace {

bool OnCacheLine(const TPhasorArray& list) {
    return reinterpret_cast<std::uintptr_t>(list.data()) % 64 == 0;
}

// Short lists come from the heap, long ones (from 5042 records) from large pages; a list that
// grows or shrinks across that length is moved between the two and keeps its records.
TEST(RecordMemory, ListsStartOnACacheLineAndKeepTheirRecordsAcrossBothKinds) {
    for (const std::size_t n : {1, 13, 5041, 5042, 120000}) {
        TPhasorArray list(n, ZeroPhasor());
        EXPECT_TRUE(OnCacheLine(list)) << n;
    }
    TPhasorArray list;
    for (int k = 0; k < 6000; ++k) {
        list[AppendPhasor(list)].Color = static_cast<std::uint32_t>(k);
        ASSERT_TRUE(OnCacheLine(list)) << k;
    }
    list.resize(3000);
    list.shrink_to_fit();
    ASSERT_TRUE(OnCacheLine(list));
    for (int k = 0; k < 3000; ++k)
        ASSERT_EQ(list[static_cast<std::size_t>(k)].Color, static_cast<std::uint32_t>(k));
}

}  // namespace
}  // namespace zeigora
