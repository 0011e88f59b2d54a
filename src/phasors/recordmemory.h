// Memory for the phasor list. A file at the reader's limit holds 83 MB of records, and every
// recalculation passes over all of them several times: in pages of 4 KB that is 20 000
// translations per pass, far more than the processor keeps, so long lists ask the system for
// large pages.
#pragma once

#include <cstddef>
#include <new>

namespace zeigora {

void* AllocateRecords(std::size_t bytes, std::size_t alignment);
void FreeRecords(void* memory, std::size_t bytes, std::size_t alignment) noexcept;

template <typename T>
struct TRecordAllocator {
    using value_type = T;

    TRecordAllocator() = default;
    template <typename U>
    TRecordAllocator(const TRecordAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(AllocateRecords(n * sizeof(T), alignof(T)));
    }
    void deallocate(T* memory, std::size_t n) noexcept {
        FreeRecords(memory, n * sizeof(T), alignof(T));
    }

    friend bool operator==(const TRecordAllocator&, const TRecordAllocator&) { return true; }
};

}  // namespace zeigora
