#include "allocation_limit.h"

#include "fuzz_check.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> limit{SIZE_MAX};

void* Allocate(std::size_t bytes) {
    AllocationLimit::Check(bytes);
    return std::malloc(bytes ? bytes : 1);
}

void* AllocateOrThrow(std::size_t bytes) {
    if (void* block = Allocate(bytes)) return block;
    throw std::bad_alloc();
}

}  // namespace

AllocationLimit::AllocationLimit(std::size_t bytes) { limit = bytes; }
AllocationLimit::~AllocationLimit() { limit = SIZE_MAX; }

void AllocationLimit::Check(std::size_t bytes) {
    FUZZ_CHECK(bytes <= limit.load(), "no allocation is far larger than the input");
}

void* operator new(std::size_t bytes) { return AllocateOrThrow(bytes); }
void* operator new[](std::size_t bytes) { return AllocateOrThrow(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
