#pragma once

#include <string>

// What stands at a path, looked up without opening it: opening a named pipe waits for a
// writer, and a device such as /dev/zero never ends, so a file the user names is checked
// first. A symbolic link counts as what it points to.
enum class EFileKind { Missing, Regular, Folder, Pipe, Device, Socket, Other };

EFileKind KindOfFile(const std::string& path); // path in UTF-8

// Why a path of that kind is no file to read, for the command line ("it is a named pipe");
// empty for a regular or missing file.
std::string NotAFileReason(EFileKind kind);
