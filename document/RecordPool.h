#pragma once

#include <cstddef>

// Memory for records: a document holds very many small objects of a dozen
// sizes, which a pool keeps without a header each and hands out faster than
// the general heap. Each document owns a pool, which its loader fills (Scope)
// and which gives all its memory back when the document goes; records made
// outside a load (tests, throw-away copies) come from a pool of their thread
// whose memory is reused and stays with the program. Under the address
// sanitizer records come from the ordinary heap, so that misuse is reported.
class RecordPool
{
public:
    struct State; // the pool's insides (RecordPool.cpp)

    RecordPool();
    // Every record made from this pool must be released first (the document
    // destroys its records before its pool).
    ~RecordPool();
    RecordPool(const RecordPool&) = delete;
    RecordPool& operator=(const RecordPool&) = delete;

    // While a Scope lives, records made on its thread come from pool.
    class Scope
    {
    public:
        explicit Scope(RecordPool& pool);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        State* m_previous;
    };

    static void* Allocate(std::size_t size);
    static void Release(void* block, std::size_t size) noexcept;

    // The bytes all document pools hold now (0 under the address sanitizer).
    static std::size_t DocumentBytes();

private:
    State* m_state;
};
