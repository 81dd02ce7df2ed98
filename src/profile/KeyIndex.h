#pragma once

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

    void Clear();
    // Makes room for this many keys, so that adding them does not grow the table.
    void Reserve(std::size_t count);

    // Every entry points at a line that still holds its key as written, and no two entries
    // share a line: whoever changes or removes a line tells the index first (Forget...).
    const CKeyRef* Find(std::string_view key, const Lines& lines) const;
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

    static std::uint32_t Hash(std::string_view key);
    static bool SameKey(std::string_view a, std::string_view b);
    std::size_t Home(std::uint32_t hash) const;
    static std::optional<std::string_view> KeyText(const CKeyRef& ref, const Lines& lines);
    std::size_t FindSlot(std::string_view key, std::uint32_t hash, const Lines& lines) const;
    void EraseSlot(std::size_t hole);
    void Rehash(std::size_t capacity);

    std::vector<CSlot> m_slots;
    std::size_t m_nCount = 0;
    unsigned m_nBits = 0; // the table has 2^m_nBits slots
};
