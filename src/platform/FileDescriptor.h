#pragma once

#include <cstddef>
#include <string>

// The few file operations the byte streams and the atomic save need, on a plain descriptor.
// Every file is opened in binary mode (no line-end translation, no end at byte 0x1A) and its
// descriptor is not inherited by programs we start. Paths are UTF-8. -1 means failure, with
// errno set.

// An existing regular file to read; a folder (EISDIR) or a pipe, device or socket (ENXIO) is
// refused, without waiting for a pipe's writer.
int OpenFileToRead(const std::string& path);
// Creates the file or empties an existing one.
int OpenFileToWrite(const std::string& path);
// Creates a file that must not exist yet (errno EEXIST when it does), with the permissions a
// new file gets by default.
int CreateNewFile(const std::string& path);

// Bytes read (0 at the end) or written, at most size; -1 on an error. Interrupted calls are
// retried.
std::ptrdiff_t ReadFromFile(int fd, char* buffer, std::size_t size);
std::ptrdiff_t WriteToFile(int fd, const char* data, std::size_t size);
// The size of an open regular file in bytes; 0 for anything else or when it cannot be told.
std::size_t SizeOfFile(int fd);
// Waits until the file's data is on the disk.
bool SyncFile(int fd);
bool CloseFile(int fd);
