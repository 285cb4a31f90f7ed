#include "NameStore.h"

#include "FieldHash.h"
#include "TextRules.h"

#include <cstring>

namespace {

constexpr size_t FieldSize = TextRules::NameSize;

// Whether two fields are equal, a word at a time (fields are compared very often).
bool sameField(const char* a, const char* b)
{
    quint64 difference = 0;
    for (size_t i = 0; i < FieldSize; i += 8) {
        quint64 x;
        quint64 y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        difference |= x ^ y;
    }
    return difference == 0;
}

size_t hashOf(const char* field)
{
    return size_t(FieldHash(field, FieldSize));
}

} // namespace

char* NameStore::place(const char* field)
{
    if (m_usedInBlock == BlockFields) {
        m_blocks.push_back(std::make_unique<char[]>(BlockFields * FieldSize));
        m_usedInBlock = 0;
    }
    char* at = m_blocks.back().get() + m_usedInBlock++ * FieldSize;
    std::memcpy(at, field, FieldSize);
    if (const void* zero = std::memchr(field, 0, FieldSize)) {
        const char* const end = field + FieldSize;
        for (const char* after = static_cast<const char*>(zero); after < end; ++after)
            m_bytesAfterZero = m_bytesAfterZero || *after != '\0';
    }
    return at;
}

const char* NameStore::Add(const char* field)
{
    if (!m_loading || m_count >= SharedLimit)
        return place(field);
    if (m_table.empty())
        m_table.assign(256, nullptr);
    size_t mask = m_table.size() - 1;
    size_t slot = hashOf(field) & mask;
    for (; m_table[slot]; slot = (slot + 1) & mask)
        if (sameField(m_table[slot], field))
            return m_table[slot];
    const char* held = m_table[slot] = place(field);
    if (2 * ++m_count > m_table.size()) {
        std::vector<const char*> wider(2 * m_table.size(), nullptr);
        mask = wider.size() - 1;
        for (const char* kept : m_table) {
            if (!kept)
                continue;
            size_t to = hashOf(kept) & mask;
            while (wider[to])
                to = (to + 1) & mask;
            wider[to] = kept;
        }
        m_table = std::move(wider);
    }
    return held;
}

void NameStore::EndLoad()
{
    m_loading = false;
    m_table = {};
}
