#pragma once

#include "platform/Version.h"

#include <string>

class CIniFile;
struct CListTemplates;
class CPlantCatalog;
class CServerCache;
class CSettings;
class CTexts;
class IClock;
class IServerListUpdate;
class IUserInterface;
struct CPlantTables;

// Reads the profile at start-up, rebuilds it from the embedded default when it is missing,
// from another version or without a usable language, and fills the run's configuration.
class CConfigurationLoader {
public:
    CConfigurationLoader(CIniFile& profile, CSettings& settings, CTexts& texts,
                         CPlantCatalog& catalog, CServerCache& servers, const IClock& clock,
                         IServerListUpdate& serverList, std::string profilePath);

    // False when no language can be chosen; the caller then closes the window.
    bool LoadConfiguration(CPlantTables& tables, CListTemplates& templates,
                           std::string& strServer, IUserInterface& ui);

    static constexpr int kMajorVersion = kVersionMajor;
    static constexpr int kMinorVersion = kVersionMinor;

private:
    bool IsCurrentVersion(bool fileRead);
    bool NeedsRebuild(bool fileRead);
    void Rebuild(bool fileRead, std::string& strServer);
    void BackUpProfileFile();
    bool ChooseLanguage(IUserInterface& ui);
    void CheckServerList(IUserInterface& ui);

    CIniFile& m_profile;
    CSettings& m_settings;
    CTexts& m_texts;
    CPlantCatalog& m_catalog;
    CServerCache& m_servers;
    const IClock& m_clock;
    IServerListUpdate& m_serverList;
    std::string m_strProfilePath;
};
