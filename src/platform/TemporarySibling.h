#pragma once

#include <filesystem>
#include <string>

// Names of the temporary file a save writes beside its target before it replaces it, shared by
// every system's atomic save: ".<name>.tmp-" followed by a random part of fixed length.
constexpr int kTemporaryRandomLength = 6;

std::string TemporaryPrefixFor(const std::filesystem::path& target);
// The folder a file lies in; "." for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& file);
std::string RandomTemporarySuffix();
// Removes what a killed save of the same target left behind: only files named by the prefix
// followed by exactly the random part.
void RemoveTemporaryLeftovers(const std::filesystem::path& folder, const std::string& prefix);
