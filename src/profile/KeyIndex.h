#pragma once

#include "platform/TextCase.h"
#include "profile/KeyedHash.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The hash map of one section: from a key, in any letter case, to where the key and its value
// stand in the section's lines. It keeps positions, not copies, and compares a key with the
// key text in its line, so neither building it nor a lookup allocates anything per key.
// Open addressing with linear probing in a power-of-two table that is at most half full. The
// hash has a secret of the run, so that a file cannot make its keys share one probe run.
class CKeyIndex {
public:
    using Lines = std::vector<std::string_view>;

    // A key and its value in line m_nLine: the key begins the line and the value ends it, as
    // they do in every line kept (trimmed when read, "key=value" when written). Small, so that
    // a table is quick to set up and walk; a line that does not fit is not indexed (m_nLine -1).
    struct CKeyRef {
        int m_nLine = -1;
        std::uint32_t m_nKeyLength = 0;
        std::uint32_t m_nValueStart = 0;

        CKeyRef() = default;
        // key and value are views into text, the text of line.
        CKeyRef(int line, std::string_view text, std::string_view key, std::string_view value);
    };

    // A key with its hash under the run's secret, which every index shares: hashed once, it can
    // be looked up in any index, and hashed while something else is being looked up.
    struct CHashedKey {
        std::string_view m_text;
        std::uint32_t m_nHash = 0;
    };
    CHashedKey Hashed(std::string_view key) const { return { key, Hash(key) }; }

    void Clear();
    // Makes room for this many keys, so that adding them does not grow the table.
    void Reserve(std::size_t count);

    // Every entry points at a line that still holds its key as written, and no two entries
    // share a line: whoever changes or removes a line tells the index first (Forget...).
    const CKeyRef* Find(std::string_view key, const Lines& lines) const
    {
        return Find(Hashed(key), lines);
    }
    const CKeyRef* Find(const CHashedKey& key, const Lines& lines) const;
    // Adds the key that ref points at; false, with nothing changed, when it is there already.
    bool Insert(const CKeyRef& ref, const Lines& lines);
    // Adds the key that ref points at, or points its entry at ref.
    void Assign(const CKeyRef& ref, const Lines& lines);
    void Erase(std::string_view key, const Lines& lines);
    // Drops the entry that points at a line about to be overwritten, if any.
    void ForgetLine(int line);
    // Drops the entry of a removed line and moves those of the lines after it up by one.
    void LineRemoved(int line);

private:
    struct CSlot {
        std::uint32_t m_nHash = 0;
        CKeyRef m_ref; // m_nLine -1: the slot is free
    };

    std::uint32_t Hash(std::string_view key) const;
    std::size_t Home(std::uint32_t hash) const;
    static std::optional<std::string_view> KeyText(const CKeyRef& ref, const Lines& lines);
    std::size_t FindSlot(std::string_view key, std::uint32_t hash, const Lines& lines) const;
    void EraseSlot(std::size_t hole);
    void Rehash(std::size_t capacity);

    std::vector<CSlot> m_slots;
    std::size_t m_nCount = 0;
    unsigned m_nBits = 0; // the table has 2^m_nBits slots
    // Taken once, so that a lookup does not ask whether the run's hash is set up yet.
    const CKeyedHash* m_pHash = &CKeyedHash::Run();
};

// Find and the functions below it are here, inline: they are the whole of a lookup, which the
// program does for every setting, text and price it reads.

inline const CKeyIndex::CKeyRef* CKeyIndex::Find(const CHashedKey& key, const Lines& lines) const
{
    if (m_nCount == 0)
        return nullptr;
    const CSlot& slot = m_slots[FindSlot(key.m_text, key.m_nHash, lines)];
    return slot.m_ref.m_nLine >= 0 ? &slot.m_ref : nullptr;
}

// The top half of the run's keyed hash: its best-mixed bits, of which Home takes the top ones.
inline std::uint32_t CKeyIndex::Hash(std::string_view key) const
{
    return static_cast<std::uint32_t>((*m_pHash)(key) >> 32);
}

// The top m_nBits bits of the hash. Shifted as a 64-bit number, so that no table (m_nBits 0)
// needs no test: a shift by 32 leaves 0.
inline std::size_t CKeyIndex::Home(std::uint32_t hash) const
{
    return static_cast<std::uint64_t>(hash) >> (32 - m_nBits);
}

// Nothing when the lines were changed behind the index's back and no longer hold the key.
inline std::optional<std::string_view> CKeyIndex::KeyText(const CKeyRef& ref, const Lines& lines)
{
    if (ref.m_nLine < 0 || static_cast<std::size_t>(ref.m_nLine) >= lines.size())
        return std::nullopt;
    const std::string_view line = lines[static_cast<std::size_t>(ref.m_nLine)];
    if (line.size() < ref.m_nKeyLength)
        return std::nullopt;
    return line.substr(0, ref.m_nKeyLength);
}

// The slot that holds the key, or else the free slot where it belongs.
inline std::size_t CKeyIndex::FindSlot(
    std::string_view key, std::uint32_t hash, const Lines& lines) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = Home(hash);; i = (i + 1) & mask) {
        const CSlot& slot = m_slots[i];
        if (slot.m_ref.m_nLine < 0)
            return i;
        // The length, in the slot, rules out most other keys before their line is read.
        if (slot.m_nHash == hash && slot.m_ref.m_nKeyLength == key.size()) {
            // A line changed behind the index's back is passed over, never read beyond.
            const auto line = static_cast<std::size_t>(slot.m_ref.m_nLine);
            if (line < lines.size() && lines[line].size() >= key.size()
                && EqualNoCase(std::string_view(lines[line].data(), key.size()), key))
                return i;
        }
    }
}
