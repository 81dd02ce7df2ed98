#include "profile/KeyIndex.h"

#include "platform/TextCase.h"
#include "profile/KeyedHash.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <utility>

CKeyIndex::CKeyRef::CKeyRef(
    int line, std::string_view text, std::string_view key, std::string_view value)
    : m_nLine(line)
    , m_nKeyLength(static_cast<std::uint32_t>(key.size()))
    , m_nValueStart(static_cast<std::uint32_t>(value.data() - text.data()))
{
    if (text.size() > std::numeric_limits<std::uint32_t>::max() || key.data() != text.data()
        || value.data() + value.size() != text.data() + text.size())
        m_nLine = -1;
}

void CKeyIndex::Clear()
{
    m_slots.clear();
    m_nCount = 0;
    m_nBits = 0;
}

void CKeyIndex::Reserve(std::size_t count)
{
    // Empty sections, of which a hostile file can hold many, get no table.
    if (count == 0)
        return;
    const std::size_t capacity = std::bit_ceil(std::max<std::size_t>(16, 2 * count));
    if (capacity > m_slots.size())
        Rehash(capacity);
}

const CKeyIndex::CKeyRef* CKeyIndex::Find(std::string_view key, const Lines& lines) const
{
    if (m_nCount == 0)
        return nullptr;
    const CSlot& slot = m_slots[FindSlot(key, Hash(key), lines)];
    return slot.m_ref.m_nLine >= 0 ? &slot.m_ref : nullptr;
}

bool CKeyIndex::Insert(const CKeyRef& ref, const Lines& lines)
{
    const std::optional<std::string_view> key = KeyText(ref, lines);
    if (!key)
        return false;
    if (2 * (m_nCount + 1) > m_slots.size())
        Rehash(std::max<std::size_t>(16, 2 * m_slots.size()));
    const std::uint32_t hash = Hash(*key);
    CSlot& slot = m_slots[FindSlot(*key, hash, lines)];
    if (slot.m_ref.m_nLine >= 0)
        return false;
    slot.m_nHash = hash;
    slot.m_ref = ref;
    ++m_nCount;
    return true;
}

void CKeyIndex::Assign(const CKeyRef& ref, const Lines& lines)
{
    const std::optional<std::string_view> key = KeyText(ref, lines);
    if (!key)
        return;
    if (m_nCount > 0) {
        CSlot& slot = m_slots[FindSlot(*key, Hash(*key), lines)];
        if (slot.m_ref.m_nLine >= 0) {
            slot.m_ref = ref;
            return;
        }
    }
    Insert(ref, lines);
}

void CKeyIndex::Erase(std::string_view key, const Lines& lines)
{
    if (m_nCount == 0)
        return;
    const std::size_t slot = FindSlot(key, Hash(key), lines);
    if (m_slots[slot].m_ref.m_nLine >= 0)
        EraseSlot(slot);
}

void CKeyIndex::ForgetLine(int line)
{
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].m_ref.m_nLine == line) {
            EraseSlot(i);
            return;
        }
    }
}

void CKeyIndex::LineRemoved(int line)
{
    std::size_t owner = m_slots.size();
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        int& entryLine = m_slots[i].m_ref.m_nLine;
        if (entryLine == line)
            owner = i;
        else if (entryLine > line)
            --entryLine;
    }
    if (owner < m_slots.size())
        EraseSlot(owner);
}

void CKeyIndex::EraseSlot(std::size_t hole)
{
    // Entries further along the probe run move back into the hole, unless their home slot
    // lies after it, so that no later search stops at the hole before reaching them.
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t next = (hole + 1) & mask; m_slots[next].m_ref.m_nLine >= 0;
         next = (next + 1) & mask) {
        const std::size_t home = Home(m_slots[next].m_nHash);
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            m_slots[hole] = m_slots[next];
            hole = next;
        }
    }
    m_slots[hole] = CSlot {};
    --m_nCount;
}

// The top half of the run's keyed hash: its best-mixed bits, of which Home takes the top ones.
std::uint32_t CKeyIndex::Hash(std::string_view key)
{
    return static_cast<std::uint32_t>(CKeyedHash::Run()(key) >> 32);
}

std::size_t CKeyIndex::Home(std::uint32_t hash) const
{
    return m_nBits ? hash >> (32 - m_nBits) : 0;
}

// Nothing when the lines were changed behind the index's back and no longer hold the key.
std::optional<std::string_view> CKeyIndex::KeyText(const CKeyRef& ref, const Lines& lines)
{
    if (ref.m_nLine < 0 || static_cast<std::size_t>(ref.m_nLine) >= lines.size())
        return std::nullopt;
    const std::string_view line = lines[static_cast<std::size_t>(ref.m_nLine)];
    if (line.size() < ref.m_nKeyLength)
        return std::nullopt;
    return line.substr(0, ref.m_nKeyLength);
}

// EqualNoCase, inline: it runs once for nearly every lookup, and most bytes match as they are.
bool CKeyIndex::SameKey(std::string_view a, std::string_view b)
{
    static const std::array<unsigned char, 256> upper = [] {
        std::array<unsigned char, 256> table {};
        for (std::size_t c = 0; c < table.size(); ++c)
            table[c] = static_cast<unsigned char>(UpperChar(static_cast<char>(c)));
        return table;
    }();
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && upper[x] != upper[y])
            return false;
    }
    return true;
}

// The slot that holds the key, or else the free slot where it belongs.
std::size_t CKeyIndex::FindSlot(std::string_view key, std::uint32_t hash, const Lines& lines) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = Home(hash);; i = (i + 1) & mask) {
        const CSlot& slot = m_slots[i];
        if (slot.m_ref.m_nLine < 0)
            return i;
        if (slot.m_nHash == hash) {
            const std::optional<std::string_view> text = KeyText(slot.m_ref, lines);
            if (text && SameKey(*text, key))
                return i;
        }
    }
}

void CKeyIndex::Rehash(std::size_t capacity)
{
    const std::vector<CSlot> old = std::exchange(m_slots, std::vector<CSlot>(capacity));
    m_nBits = static_cast<unsigned>(std::countr_zero(capacity));
    const std::size_t mask = capacity - 1;
    for (const CSlot& slot : old) {
        if (slot.m_ref.m_nLine < 0)
            continue;
        std::size_t i = Home(slot.m_nHash);
        while (m_slots[i].m_ref.m_nLine >= 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}
