#pragma once

#include <QtGlobal>
#include <cstring>
#include <string_view>

// A quick hash of a record's field bytes (names are 32 bytes, read a word at a time). For
// tables that live during one load or one import, so it needs no seed.
inline quint64 FieldHash(const char* bytes, size_t size)
{
    quint64 h = 0x9E3779B97F4A7C15u ^ size;
    for (; size >= 8; bytes += 8, size -= 8) {
        quint64 word;
        std::memcpy(&word, bytes, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDu;
        h ^= h >> 32;
    }
    if (size > 0) {
        quint64 word = 0;
        std::memcpy(&word, bytes, size);
        h = (h ^ word) * 0xC4CEB9FE1A85EC53u;
    }
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDu;
    h ^= h >> 33;
    return h;
}

struct FieldViewHash {
    size_t operator()(std::string_view bytes) const
    {
        return size_t(FieldHash(bytes.data(), bytes.size()));
    }
};
