#pragma once
// Counts the program's heap allocations and the bytes they hold, by replacing the global
// operator new and delete. Include it in exactly one file of a benchmark program.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

struct AllocationCounts {
    std::uint64_t allocations = 0;
    std::size_t liveBytes = 0;
    std::size_t peakBytes = 0;
};

inline AllocationCounts g_allocations;

namespace alloc_counter {
// Each block carries its size in front, so that delete knows how much it gives back.
constexpr std::size_t kHeader = alignof(std::max_align_t);

inline void* Allocate(std::size_t size)
{
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    ++g_allocations.allocations;
    g_allocations.liveBytes += size;
    if (g_allocations.liveBytes > g_allocations.peakBytes)
        g_allocations.peakBytes = g_allocations.liveBytes;
    return block + kHeader;
}

inline void Release(void* pointer)
{
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    g_allocations.liveBytes -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
} // namespace alloc_counter

void* operator new(std::size_t size)
{
    return alloc_counter::Allocate(size);
}
void* operator new[](std::size_t size)
{
    return alloc_counter::Allocate(size);
}
void operator delete(void* pointer) noexcept
{
    alloc_counter::Release(pointer);
}
void operator delete[](void* pointer) noexcept
{
    alloc_counter::Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept
{
    alloc_counter::Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept
{
    alloc_counter::Release(pointer);
}

// The peak of heap bytes held from now on, above what is held now.
inline std::size_t StartPeak()
{
    g_allocations.peakBytes = g_allocations.liveBytes;
    return g_allocations.liveBytes;
}
