// ActiveEffectTable: the switched-on effects, one slot per registered effect, in the
// order they were switched on (each goes into the first empty slot).
//
// Threads: one writer, the user-interface thread, changes the slots; the streaming thread
// takes a Snapshot of them once per frame. Every slot is an atomic pointer and a sequence
// counter brackets each change, so a snapshot is always a state the table really had:
// a frame sees each effect either in or out, never twice and never half-moved.
//
// Lifetime: Resize (and destruction) must not overlap a Snapshot; the chain resizes only
// while loading and unloading the effects, before the first frame and after the last.
// The table does not own the effects.
#pragma once

#include <lumora/effect.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace lumora {

class ActiveEffectTable {
public:
    // `capacity` empty slots (0: no table). Not while a snapshot may run.
    void Resize(std::size_t capacity);
    std::size_t capacity() const noexcept { return capacity_; }

    // User-interface thread.
    bool Contains(const Effect* effect) const noexcept;
    // Puts the effect into the first empty slot; false when there is none.
    bool Insert(Effect* effect) noexcept;
    // Empties the slot that holds the effect, if any.
    void Remove(const Effect* effect) noexcept;
    // Empties every slot.
    void Clear() noexcept;
    // The effect in `slot`, or null.
    Effect* At(std::size_t slot) const noexcept;

    // Any thread: copies the slots into `out` (capacity() entries, empty slots as null)
    // as they stood at one moment. Does not allocate.
    void Snapshot(Effect** out) const noexcept;

private:
    void Store(std::size_t slot, Effect* effect) noexcept;

    std::unique_ptr<std::atomic<Effect*>[]> slots_;
    std::size_t capacity_ = 0;
    std::atomic<std::uint32_t> sequence_{0};  // odd while a slot is being changed
};

}  // namespace lumora
