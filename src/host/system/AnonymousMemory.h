#pragma once

#include <cstddef>

// Memory straight from the kernel (anonymous private mappings), for buffers
// that must really go back to the system when released: a large block freed
// through malloc may stay in the heap once glibc's mmap threshold has grown.
class AnonymousMemory {
public:
    // nullptr when the kernel refuses (or size is 0).
    static std::byte* allocate(std::size_t size);
    // Unmaps what allocate returned; nullptr is ignored.
    static void release(std::byte* memory, std::size_t size);
};
