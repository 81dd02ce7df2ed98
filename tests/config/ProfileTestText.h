#pragma once

#include "config/DefaultProfileData.h"
#include "platform/ByteSource.h"
#include "profile/IniFile.h"

#include <string>

// The embedded default profile as the program carries it (Windows-1252, CR LF).
inline std::string DefaultProfileBytes()
{
    return std::string(reinterpret_cast<const char*>(kDefaultProfileData), kDefaultProfileSize);
}

// Fills a document from profile text, as if it had been read from a file.
inline void ReadProfileText(CIniFile& profile, const std::string& text)
{
    CMemorySource source(text.data(), text.size());
    profile.ReadFrom(source);
}

inline void ReadDefaultProfile(CIniFile& profile)
{
    ReadProfileText(profile, DefaultProfileBytes());
}
