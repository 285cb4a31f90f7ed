#include "RecordPool.h"

#include <atomic>
#include <cstdint>
#include <new>
#include <vector>

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

#ifdef PARVANE_PLAIN_HEAP

struct RecordPool::State {
};

RecordPool::RecordPool() : m_state(nullptr) {}
RecordPool::~RecordPool() = default;
RecordPool::Scope::Scope(RecordPool&) : m_previous(nullptr) {}
RecordPool::Scope::~Scope() = default;

void* RecordPool::Allocate(std::size_t size)
{
    return ::operator new(size);
}

void RecordPool::Release(void* block, std::size_t) noexcept
{
    ::operator delete(block);
}

std::size_t RecordPool::DocumentBytes()
{
    return 0;
}

#else

namespace {

constexpr std::size_t Grain = 8;
constexpr std::size_t MaxSize = 256;
// Chunks lie on their own size, so a block finds its chunk, and the chunk's first
// bytes name the pool that owns it.
constexpr std::size_t ChunkSize = 1024 * 1024;

std::atomic<std::size_t> documentBytes{0};

struct FreeBlock {
    FreeBlock* next;
};

} // namespace

// Blocks in steps of 8 bytes (enough for every record's fields), so that a record
// takes its own size and no more; larger requests go to the heap. Freed blocks
// are kept for the next record of the same size.
struct RecordPool::State {
    struct ChunkHeader {
        State* owner;
    };

    explicit State(bool document) : document(document) {}
    ~State()
    {
        for (char* chunk : chunks)
            freeChunk(chunk);
        if (document)
            documentBytes -= chunks.size() * ChunkSize;
    }

    void* allocate(std::size_t size)
    {
        const std::size_t step = (size + Grain - 1) / Grain;
        if (FreeBlock* block = free[step]) {
            free[step] = block->next;
            return block;
        }
        const std::size_t bytes = step * Grain;
        if (std::size_t(end - next) < bytes) {
            chunks.reserve(chunks.size() + 1); // a failure after newChunk would leak it
            char* chunk = newChunk();
            chunks.push_back(chunk);
            new (chunk) ChunkHeader{this};
            if (document)
                documentBytes += ChunkSize;
            next = chunk + sizeof(std::max_align_t);
            end = chunk + ChunkSize;
        }
        void* block = next;
        next += bytes;
        return block;
    }

    void release(void* block, std::size_t size) noexcept
    {
        const std::size_t step = (size + Grain - 1) / Grain;
        free[step] = new (block) FreeBlock{free[step]};
    }

    static State* ownerOf(void* block)
    {
        const auto chunk = reinterpret_cast<std::uintptr_t>(block) & ~(ChunkSize - 1);
        return reinterpret_cast<ChunkHeader*>(chunk)->owner;
    }

    static char* newChunk()
    {
#ifdef __linux__
        // Twice the size, then the parts outside the aligned chunk go back.
        void* area = ::mmap(nullptr, 2 * ChunkSize, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (area == MAP_FAILED)
            throw std::bad_alloc();
        const auto start = reinterpret_cast<std::uintptr_t>(area);
        const std::uintptr_t aligned = (start + ChunkSize - 1) & ~(ChunkSize - 1);
        if (aligned > start)
            ::munmap(area, aligned - start);
        if (const std::uintptr_t tail = start + 2 * ChunkSize - (aligned + ChunkSize))
            ::munmap(reinterpret_cast<void*>(aligned + ChunkSize), tail);
        char* chunk = reinterpret_cast<char*>(aligned);
#ifdef MADV_POPULATE_WRITE
        // Records fill the chunk in order: its pages are made in one step, not one fault each.
        ::madvise(chunk, ChunkSize, MADV_POPULATE_WRITE);
#endif
        return chunk;
#else
        return static_cast<char*>(::operator new(ChunkSize, std::align_val_t(ChunkSize)));
#endif
    }

    static void freeChunk(char* chunk)
    {
#ifdef __linux__
        ::munmap(chunk, ChunkSize);
#else
        ::operator delete(chunk, std::align_val_t(ChunkSize));
#endif
    }

    const bool document;
    FreeBlock* free[MaxSize / Grain + 1] = {};
    char* next = nullptr;
    char* end = nullptr;
    std::vector<char*> chunks;
};

namespace {

thread_local RecordPool::State* current = nullptr;

RecordPool::State& threadPool()
{
    // Never destroyed: a record may outlive the thread's other objects.
    static thread_local auto* pool = new RecordPool::State(false);
    return *pool;
}

} // namespace

RecordPool::RecordPool() : m_state(new State(true)) {}

RecordPool::~RecordPool()
{
    delete m_state;
}

RecordPool::Scope::Scope(RecordPool& pool) : m_previous(current)
{
    current = pool.m_state;
}

RecordPool::Scope::~Scope()
{
    current = m_previous;
}

void* RecordPool::Allocate(std::size_t size)
{
    if (size == 0 || size > MaxSize)
        return ::operator new(size);
    return (current ? *current : threadPool()).allocate(size);
}

void RecordPool::Release(void* block, std::size_t size) noexcept
{
    if (size == 0 || size > MaxSize) {
        ::operator delete(block);
        return;
    }
    // A document's block goes back to its document; any other to this thread's pool, whose
    // memory stays with the program whichever thread made it.
    State* owner = State::ownerOf(block);
    (owner->document ? *owner : threadPool()).release(block, size);
}

std::size_t RecordPool::DocumentBytes()
{
    return documentBytes;
}

#endif
