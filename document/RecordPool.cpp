#include "RecordPool.h"

#include <memory_resource>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define PARVANE_PLAIN_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PARVANE_PLAIN_HEAP 1
#endif
#endif

namespace RecordPool {

#ifdef PARVANE_PLAIN_HEAP

void* Allocate(std::size_t size)
{
    return ::operator new(size);
}

void Release(void* block, std::size_t) noexcept
{
    ::operator delete(block);
}

#else

namespace {

std::pmr::unsynchronized_pool_resource& pool()
{
    // Never destroyed: a record may outlive the thread's other objects.
    static thread_local auto* resource = new std::pmr::unsynchronized_pool_resource(
        std::pmr::pool_options{0, 256}, std::pmr::new_delete_resource());
    return *resource;
}

} // namespace

void* Allocate(std::size_t size)
{
    return pool().allocate(size, alignof(std::max_align_t));
}

void Release(void* block, std::size_t size) noexcept
{
    pool().deallocate(block, size, alignof(std::max_align_t));
}

#endif

} // namespace RecordPool
