#include "host/system/AnonymousMemory.h"

#include <sys/mman.h>

std::byte* AnonymousMemory::allocate(std::size_t size)
{
    if (size == 0)
        return nullptr;
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : static_cast<std::byte*>(p);
}

void AnonymousMemory::release(std::byte* memory, std::size_t size)
{
    if (memory)
        ::munmap(memory, size);
}
