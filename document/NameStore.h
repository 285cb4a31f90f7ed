#pragma once

#include <QtGlobal>
#include <memory>
#include <vector>

// The 32-byte name fields of one document's records, in blocks the document owns.
// Files repeat a handful of names many times, so while the document loads, equal
// fields are held once (up to a limit of distinct ones; past it each is kept as
// it comes). A record holds only where its field is.
class NameStore
{
public:
    // Where a copy of the field's bytes stays for the store's lifetime.
    const char* Add(const char* field);
    // Drops what finding equal fields needs; later fields are kept as they come.
    void EndLoad();
    // Whether some field has a byte other than zero after its first zero byte: only then can
    // two fields with different bytes show the same name.
    bool AnyBytesAfterZero() const { return m_bytesAfterZero; }

private:
    char* place(const char* field);

    static constexpr size_t BlockFields = 2048;
    static constexpr size_t SharedLimit = 65536;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_usedInBlock = BlockFields; // fields in the last block
    // The distinct fields so far, by open addressing on their bytes; at most half full.
    std::vector<const char*> m_table;
    size_t m_count = 0;
    bool m_loading = true;
    bool m_bytesAfterZero = false;
};
