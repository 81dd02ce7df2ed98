#pragma once

#include <cstddef>
#include <string>

// Where the profile reader takes its bytes from: a file or a block of memory.
class CByteSource {
public:
    virtual ~CByteSource() = default;
    // Bytes delivered into buffer (at most size); 0 at the end of the data, -1 on an error.
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
    // How many bytes the source expects to deliver, so that a reader can make room for all of
    // them at once; 0 when it cannot tell. Only a hint: the data may turn out longer or shorter.
    virtual std::size_t ExpectedSize() const { return 0; }
};

// Reads a block of memory that the caller keeps alive.
class CMemorySource : public CByteSource {
public:
    CMemorySource(const void* data, std::size_t size);
    std::ptrdiff_t Read(char* buffer, std::size_t size) override;
    std::size_t ExpectedSize() const override { return m_size - m_position; }

private:
    const char* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// Reads a file opened read-only; a folder or a missing file is not open.
class CFileSource : public CByteSource {
public:
    explicit CFileSource(const std::string& path);
    ~CFileSource() override;
    CFileSource(const CFileSource&) = delete;
    CFileSource& operator=(const CFileSource&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    std::ptrdiff_t Read(char* buffer, std::size_t size) override;
    std::size_t ExpectedSize() const override;
    // The system's error number of a failed open or read (EISDIR for a folder); 0 if none.
    int Error() const { return m_nError; }

private:
    int m_fd = -1;
    int m_nError = 0;
};
