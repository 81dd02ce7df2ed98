#include "profile/KeyIndex.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <optional>
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
