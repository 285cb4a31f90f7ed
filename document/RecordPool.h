#pragma once

#include <cstddef>

// Memory for records: a document holds very many small objects of a dozen
// sizes, which a pool keeps without a header each and hands out faster than
// the general heap. One pool per thread, so it needs no lock; its memory is
// reused for later records and stays with the program. Under the address
// sanitizer records come from the ordinary heap, so that misuse is reported.
namespace RecordPool {

void* Allocate(std::size_t size);
void Release(void* block, std::size_t size) noexcept;

} // namespace RecordPool
