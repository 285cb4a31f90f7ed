#pragma once

#include <QtGlobal>
#include <vector>

// The records of a document by a key of their path, in open addressing: each slot holds the
// first record with its key and more bits of the key's hash, so that most probes read no
// record. The path index and the import's pairing both keep one.
class PathSlots
{
public:
    static constexpr qint32 None = -1;
    struct Slot {
        qint32 index = None;
        quint32 tag = 0;
    };

    bool empty() const { return m_slots.empty(); }
    // Room for count keys, at most half full; every slot empty.
    void Reset(size_t count)
    {
        size_t capacity = 16;
        while (capacity < 2 * count)
            capacity *= 2;
        m_slots.assign(capacity, Slot{});
    }
    // The slot whose record holds the key of hash, as holds(index) tells; else the empty slot
    // where the key goes (its index None).
    template <class Holds> Slot& Find(quint64 hash, const Holds& holds)
    {
        // Mixed so that the low bits, which pick the slot, depend on all of the key.
        hash = (hash ^ (hash >> 33)) * 0xFF51AFD7ED558CCDu;
        hash = (hash ^ (hash >> 33)) * 0xC4CEB9FE1A85EC53u;
        hash ^= hash >> 33;
        const quint32 tag = quint32(hash >> 32);
        const size_t mask = m_slots.size() - 1;
        for (size_t at = size_t(hash) & mask;; at = (at + 1) & mask) {
            Slot& slot = m_slots[at];
            if (slot.index == None) {
                slot.tag = tag;
                return slot;
            }
            if (slot.tag == tag && holds(slot.index))
                return slot;
        }
    }

private:
    std::vector<Slot> m_slots;
};
