#pragma once

#include <filesystem>
#include <string>

// The program keeps every path as UTF-8 text. A std::filesystem::path made from a plain
// std::string takes it in the system's narrow encoding, which on Windows is a legacy code
// page: "Jürgen" would become "JÃ¼rgen". These convert explicitly, so a path reaches the
// system calls unchanged on every platform.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);
