// AllocationLimit: makes any operator new larger than a limit break an invariant, so a
// target can assert that a reader's memory follows its input, not the sizes the input
// claims. Linking allocation_limit.cpp into a target replaces the global operator new and
// delete (all but the aligned forms) with malloc and free behind the check.
//
// Any thread; the limit is one atomic value for the whole process.
#pragma once

#include <cstddef>

class AllocationLimit {
public:
    // Until the scope ends, no single allocation may exceed `bytes`.
    explicit AllocationLimit(std::size_t bytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

    // Breaks an invariant when `bytes` is above the limit in force.
    static void Check(std::size_t bytes);
};
