#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr int kDefaultProfileId = 129;
inline constexpr std::string_view kDefaultProfileType = "TXT";

// A block of read-only data that the program carries inside itself, found by number and type.
// The only such block is the default profile.
class CResource {
public:
    CResource() = default;
    ~CResource() { Free(); }
    CResource(const CResource&) = delete;
    CResource& operator=(const CResource&) = delete;

    // Drops what is held, then looks the block up; true when its data was found.
    bool Load(int id, std::string_view type);
    // Back to the state after construction.
    void Free();

    int Id() const { return m_nId; }
    const std::string& Type() const { return m_strType; }
    // Null and 0 while nothing is loaded.
    const unsigned char* Data() const { return m_pData; }
    std::size_t Size() const { return m_nSize; }

private:
    int m_nId = 0;
    std::string m_strType;
    const unsigned char* m_pData = nullptr;
    std::size_t m_nSize = 0;
};
