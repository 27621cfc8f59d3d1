#include "effects/active_effect_table.h"

#include <thread>

namespace lumora {

void ActiveEffectTable::Resize(std::size_t capacity) {
    slots_.reset(capacity ? new std::atomic<Effect*>[capacity] : nullptr);
    capacity_ = capacity;
    for (std::size_t i = 0; i < capacity_; ++i) slots_[i].store(nullptr, std::memory_order_relaxed);
    sequence_.fetch_add(2, std::memory_order_release);
}

bool ActiveEffectTable::Contains(const Effect* effect) const noexcept {
    for (std::size_t i = 0; i < capacity_; ++i) {
        if (At(i) == effect) return true;
    }
    return false;
}

bool ActiveEffectTable::Insert(Effect* effect) noexcept {
    for (std::size_t i = 0; i < capacity_; ++i) {
        if (!At(i)) {
            Store(i, effect);
            return true;
        }
    }
    return false;
}

void ActiveEffectTable::Remove(const Effect* effect) noexcept {
    for (std::size_t i = 0; i < capacity_; ++i) {
        if (At(i) == effect) Store(i, nullptr);
    }
}

void ActiveEffectTable::Clear() noexcept {
    for (std::size_t i = 0; i < capacity_; ++i) {
        if (At(i)) Store(i, nullptr);
    }
}

Effect* ActiveEffectTable::At(std::size_t slot) const noexcept {
    return slot < capacity_ ? slots_[slot].load(std::memory_order_relaxed) : nullptr;
}

// A sequence lock: the writer makes the counter odd, changes the slot and makes it even
// again; a reader retries when the counter was odd or moved while it copied.
void ActiveEffectTable::Store(std::size_t slot, Effect* effect) noexcept {
    const std::uint32_t sequence = sequence_.load(std::memory_order_relaxed);
    sequence_.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    slots_[slot].store(effect, std::memory_order_relaxed);
    sequence_.store(sequence + 2, std::memory_order_release);
}

void ActiveEffectTable::Snapshot(Effect** out) const noexcept {
    for (;;) {
        const std::uint32_t before = sequence_.load(std::memory_order_acquire);
        if (before % 2 == 0) {
            for (std::size_t i = 0; i < capacity_; ++i) out[i] = slots_[i].load(std::memory_order_relaxed);
            std::atomic_thread_fence(std::memory_order_acquire);
            if (sequence_.load(std::memory_order_relaxed) == before) return;
        }
        std::this_thread::yield();
    }
}

}  // namespace lumora
