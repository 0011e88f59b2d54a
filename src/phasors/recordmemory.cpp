#include "phasors/recordmemory.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zeigora {

namespace {

constexpr std::size_t LargePage = std::size_t{2} << 20;

// Shorter lists keep to the ordinary heap.
bool Large(std::size_t bytes) {
    return bytes >= 2 * LargePage;
}

}  // namespace

void* AllocateRecords(std::size_t bytes, std::size_t alignment) {
    if (!Large(bytes)) return ::operator new (bytes, std::align_val_t{alignment});
    const std::size_t size = (bytes + LargePage - 1) / LargePage * LargePage;
    void* memory = std::aligned_alloc(LargePage, size);
    if (memory == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(memory, size, MADV_HUGEPAGE);  // a hint: refused, the memory serves all the same
#endif
    return memory;
}

void FreeRecords(void* memory, std::size_t bytes, std::size_t alignment) noexcept {
    if (Large(bytes))
        std::free(memory);
    else
        ::operator delete (memory, std::align_val_t{alignment});
}

}  // namespace zeigora
