#pragma once

#include "config/SettingKeys.h"

class CIniFile;

// The [Settings] values the program keeps in memory. Each setter updates its mirror and
// writes the value into the profile document at once.
class CSettings {
public:
    explicit CSettings(CIniFile& profile);

    int LoadFlag() const { return m_nLoadFlag; }
    bool ShowsPriceList() const { return m_bShowPriceList; }
    bool CapsAtFarmPrice() const { return m_bMaxFarm; }
    int MaxLevel() const { return m_nMaxLevel; }
    int OriginMask() const { return m_nOriginMask; }
    bool WatchesClipboard() const { return m_bWatchClipboard; }

    bool SetShowPriceList(bool show);
    bool SetCapAtFarmPrice(bool capAtFarmPrice);
    // A level below 1 is stored as 1.
    bool SetMaxLevel(int level);
    bool SetOriginMask(int mask);
    bool SetWatchClipboard(bool watch);
    // Takes every mirror afresh from the document, a missing key as its default.
    void ReadMirrors();

private:
    CIniFile& m_profile;
    int m_nLoadFlag = SettingKeys::kDefaultLoadFlag;
    bool m_bShowPriceList = false;
    bool m_bMaxFarm = false;
    int m_nMaxLevel = SettingKeys::kDefaultMaxLevel;
    int m_nOriginMask = SettingKeys::kDefaultOriginMask;
    bool m_bWatchClipboard = false;
};
