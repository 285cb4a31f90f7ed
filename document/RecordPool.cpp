#include "RecordPool.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

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

// Blocks in steps of 8 bytes (enough for every record's fields), so that a record
// takes its own size and no more; larger requests go to the heap. Freed blocks
// are kept for the next record of the same size, and chunks stay with the program.
class Pool
{
public:
    void* allocate(std::size_t size)
    {
        if (size == 0 || size > MaxSize)
            return ::operator new(size);
        const std::size_t step = (size + Grain - 1) / Grain;
        if (FreeBlock* block = m_free[step]) {
            m_free[step] = block->next;
            return block;
        }
        const std::size_t bytes = step * Grain;
        if (std::size_t(m_end - m_next) < bytes) {
            m_next = newChunk();
            m_end = m_next + ChunkSize;
        }
        void* block = m_next;
        m_next += bytes;
        return block;
    }

    void release(void* block, std::size_t size) noexcept
    {
        if (size == 0 || size > MaxSize) {
            ::operator delete(block);
            return;
        }
        const std::size_t step = (size + Grain - 1) / Grain;
        m_free[step] = new (block) FreeBlock{m_free[step]};
    }

private:
    static constexpr std::size_t Grain = 8;
    static constexpr std::size_t MaxSize = 256;
    static constexpr std::size_t ChunkSize = 1024 * 1024;

    static char* newChunk()
    {
#ifdef MADV_POPULATE_WRITE
        char* chunk = static_cast<char*>(::operator new(ChunkSize, std::align_val_t(4096)));
        // Records fill the chunk in order: its pages are made in one step, not one fault each.
        ::madvise(chunk, ChunkSize, MADV_POPULATE_WRITE);
#else
        char* chunk = static_cast<char*>(::operator new(ChunkSize));
#endif
        return chunk;
    }
    struct FreeBlock {
        FreeBlock* next;
    };
    FreeBlock* m_free[MaxSize / Grain + 1] = {};
    char* m_next = nullptr;
    char* m_end = nullptr;
};

Pool& pool()
{
    // Never destroyed: a record may outlive the thread's other objects.
    static thread_local auto* resource = new Pool;
    return *resource;
}

} // namespace

void* Allocate(std::size_t size)
{
    return pool().allocate(size);
}

void Release(void* block, std::size_t size) noexcept
{
    pool().release(block, size);
}

#endif

} // namespace RecordPool
