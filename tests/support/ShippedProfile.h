#pragma once

// The shipped profile in a temporary folder, the worked example, and a preset user and
// clipboard: what the window's tests share, whichever face they drive.

#include "calc/Clipboard.h"
#include "config/Resource.h"
#include "platform/ByteSource.h"
#include "profile/IniFile.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A clipboard whose text the test sets, and whether the program put it there.
class CPresetClipboard : public IClipboard {
public:
    std::optional<std::string> ReadText(std::size_t limit) override
    {
        return m_strText.substr(0, Kept(limit));
    }
    bool HoldsOwnText() override { return m_bOwn; }

    std::string m_strText;
    bool m_bOwn = false;
};

inline const std::string kExampleList = "Einkaufsliste\n3 x Karotte\n2 x gelbe Teichrose\n"
                                        "Summe: 25,00 wT\nProdukte jetzt verkaufen?";

// The shipped profile in one language with the worked example's prices on Server 1, and
// without the automatic server list update, so nothing leaves the machine.
inline bool ReadShippedProfile(CIniFile& profile)
{
    profile.SetAutoReload(false);
    profile.SetAutoSave(false);
    CResource resource;
    if (!resource.Load(129, "TXT"))
        return false;
    CMemorySource source(resource.Data(), resource.Size());
    return profile.ReadFrom(source);
}

inline bool WriteShippedProfile(const std::string& path, const std::string& language,
    const std::function<void(CIniFile&)>& edit)
{
    CIniFile profile;
    if (!ReadShippedProfile(profile))
        return false;
    profile.WriteString("Settings", "Lang", language);
    profile.WriteString("Settings", "Server", "Server 1");
    profile.WriteString("Settings", "ServerInt", "0");
    profile.WriteString("Server 1", "Karotte", "0,10");
    profile.WriteString("Server 1", "gelbe Teichrose", "12,00");
    if (edit)
        edit(profile);
    return profile.Save(path);
}

inline const std::string kOldStamp = "1.1.26 10:00";

// The shipped profile in German, without the automatic server list update, offering exactly
// these servers (the first one selected), each with the old stamp and Karotte at 0,10.
inline bool WriteServersProfile(const std::string& path,
    const std::vector<std::pair<std::string, std::string>>& servers,
    const std::function<void(CIniFile&)>& edit = {})
{
    CIniFile profile;
    if (!ReadShippedProfile(profile))
        return false;
    profile.WriteString("Settings", "Lang", "Deutsch");
    profile.WriteString("Settings", "ServerInt", "0");
    profile.WriteString("Preislisten", std::nullopt, std::nullopt);
    for (const auto& [name, address] : servers) {
        profile.WriteString("Preislisten", name, address);
        profile.WriteString(name, "Aktualisiert", kOldStamp);
        profile.WriteString(name, "Karotte", "0,10");
    }
    profile.WriteString("Settings", "Server", servers.front().first);
    if (edit)
        edit(profile);
    return profile.Save(path);
}
