// OwnedEffect: an effect object the program created and must destroy as its own type.
// Effect has no virtual destructor (plug-in effects belong to their modules), so an
// owning pointer carries the deleter of the concrete class it was made with.
#pragma once

#include <lumora/effect.h>

#include <memory>
#include <utility>

namespace lumora {

struct EffectDeleter {
    void (*destroy)(Effect*) = nullptr;
    void operator()(Effect* effect) const noexcept {
        if (effect && destroy) destroy(effect);
    }
};

using OwnedEffect = std::unique_ptr<Effect, EffectDeleter>;

// Creates a T (derived from Effect) owned through the base.
template <class T, class... Args>
OwnedEffect MakeOwnedEffect(Args&&... args) {
    return OwnedEffect(new T(std::forward<Args>(args)...),
                       EffectDeleter{[](Effect* effect) { delete static_cast<T*>(effect); }});
}

}  // namespace lumora
