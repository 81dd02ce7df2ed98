#pragma once

#include "platform/ByteSink.h"
#include "platform/ByteSource.h"
#include "profile/IniFile.h"

#include <memory>
#include <string>
#include <string_view>

// A document read from text, with the automatic reload and save switched off as the
// application does.
inline std::unique_ptr<CIniFile> ReadProfile(std::string_view text)
{
    auto profile = std::make_unique<CIniFile>();
    profile->SetAutoReload(false);
    profile->SetAutoSave(false);
    CMemorySource source(text.data(), text.size());
    profile->ReadFrom(source);
    return profile;
}

inline std::string WriteProfile(const CIniFile& profile)
{
    CMemorySink sink;
    profile.WriteTo(sink);
    return sink.m_data;
}
