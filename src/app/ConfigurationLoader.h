#pragma once

#include "platform/Version.h"

#include <string>
#include <utility>
#include <vector>

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
    bool LoadConfiguration(CPlantTables& tables, CListTemplates& templates, std::string& strServer,
        IUserInterface& ui);

    static constexpr int kMajorVersion = kVersionMajor;
    static constexpr int kMinorVersion = kVersionMinor;

    // Whether the user has been told at start that the profile cannot be read or written;
    // the failed save at exit then need not say so again.
    bool ProfileProblemShown() const { return m_bProblemShown; }

private:
    // Every key line of a server section but its metadata: the prices, whatever plants
    // the catalogue names.
    using PriceLines
        = std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>;

    bool IsCurrentVersion(bool fileRead);
    bool NeedsRebuild(bool fileRead);
    void Rebuild(bool fileRead, std::string& strServer);
    void BackUpProfileFile();
    PriceLines CollectPriceLines() const;
    void RestorePriceLines(const PriceLines& lines);
    void ShowProfileProblem(IUserInterface& ui);
    bool ChooseLanguage(IUserInterface& ui);
    void CheckServerList();

    CIniFile& m_profile;
    CSettings& m_settings;
    CTexts& m_texts;
    CPlantCatalog& m_catalog;
    CServerCache& m_servers;
    const IClock& m_clock;
    IServerListUpdate& m_serverList;
    std::string m_strProfilePath;
    // The text key of a problem with the profile file to tell the user once the texts are
    // loaded, and the system's error number behind it.
    std::string m_strProblemKey;
    int m_nProblemError = 0;
    bool m_bProblemShown = false;
};
