#pragma once

class CIniFile;

// The [Settings] values the program keeps in memory. Each setter updates its mirror and
// writes the value into the profile document at once.
class CSettings {
public:
    explicit CSettings(CIniFile& profile);

    int m_nLoadFlag = 49153;
    bool m_bPreisListe = false;
    bool m_bMaxFarm = false;
    int m_nMaxLevel = 99;
    int m_nOriginMask = -1;
    bool m_bWatchClipboard = false;

    bool SetPreisListe(bool show);
    bool SetMaxFarm(bool capAtFarmPrice);
    // A level below 1 is stored as 1.
    bool SetMaxLevel(int level);
    bool SetOriginMask(int mask);
    bool SetWatchClipboard(bool watch);
    void ReadMirrors();

private:
    CIniFile& m_profile;
};
