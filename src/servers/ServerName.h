#pragma once

#include <cstddef>
#include <string_view>

class CIniFile;

// Longest server name a server list may bring; real names are a few words.
constexpr std::size_t kMaxServerNameBytes = 200;

// Whether name can be a server of profile: each server keeps its prices in the section of
// its name and its address as a key of [Preislisten], so a name must read back as that key
// and must not reach a section the program owns (settings, texts, catalogue, lists,
// translations, the server list itself), also not through brackets or letter case. A name
// of more than kMaxServerNameBytes bytes is refused as well.
bool IsUsableServerName(std::string_view name, CIniFile& profile);

// Whether the section that a server of this name would write to is one the program owns
// (or the nameless one); such a server, from an older profile, must not write there.
bool IsProgramSection(std::string_view name, CIniFile& profile);
