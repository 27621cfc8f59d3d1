// LUMORA_VECTOR_KERNEL: put in front of a function holding a whole-row pixel loop. GCC
// then compiles it twice, for AVX2 and for plain x86-64, and the module picks the one the
// processor runs when it is loaded (function multi-versioning), so the loops vectorise on
// current processors without giving up older ones. Write such loops over plain indices,
// with the three channels of a pixel handled together, and keep the arithmetic in 16 bits
// where it fits: that is what the vectoriser turns into wide operations.
#pragma once

// Not under ThreadSanitizer: it instruments the clones' resolver, which runs before its
// runtime has started.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define LUMORA_VECTOR_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define LUMORA_VECTOR_KERNEL
#endif
