#pragma once

#include <cstddef>
#include <string>

// Where the profile writer puts its bytes: a file or memory.
class CByteSink {
public:
    virtual ~CByteSink() = default;
    // False when the bytes could not be written.
    virtual bool Write(const char* data, std::size_t size) = 0;
};

class CMemorySink : public CByteSink {
public:
    bool Write(const char* data, std::size_t size) override;

    std::string m_data;
};

// Writes a file through a buffer. Flush or Close must be called (and checked) to know that
// every byte reached the file; the destructor closes without reporting.
class CFileSink : public CByteSink {
public:
    // Creates the file or empties an existing one.
    explicit CFileSink(const std::string& path);
    // Takes over an open file descriptor.
    explicit CFileSink(int fd);
    ~CFileSink() override;
    CFileSink(const CFileSink&) = delete;
    CFileSink& operator=(const CFileSink&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    bool Write(const char* data, std::size_t size) override;
    // Hands the buffered bytes to the system.
    bool Flush();
    // Flush, then wait until the file's data is on the disk.
    bool Sync();
    bool Close();

private:
    bool WriteAll(const char* data, std::size_t size);

    int m_fd = -1;
    bool m_bFailed = false;
    std::string m_buffer;
};
