#include "config/Settings.h"

#include "profile/IniFile.h"

namespace {
constexpr const char* kSection = "Settings";
}

CSettings::CSettings(CIniFile& profile)
    : m_profile(profile)
{
}

bool CSettings::SetPreisListe(bool show)
{
    m_bPreisListe = show;
    return m_profile.WriteInt(kSection, "PreisListe", show ? 1 : 0);
}

bool CSettings::SetMaxFarm(bool capAtFarmPrice)
{
    m_bMaxFarm = capAtFarmPrice;
    return m_profile.WriteInt(kSection, "MaxFarm", capAtFarmPrice ? 1 : 0);
}

bool CSettings::SetMaxLevel(int level)
{
    m_nMaxLevel = level < 1 ? 1 : level;
    return m_profile.WriteInt(kSection, "MaxLevel", m_nMaxLevel);
}

bool CSettings::SetOriginMask(int mask)
{
    m_nOriginMask = mask;
    return m_profile.WriteInt(kSection, "OriginMask", mask);
}

bool CSettings::SetWatchClipboard(bool watch)
{
    m_bWatchClipboard = watch;
    return m_profile.WriteInt(kSection, "WatchClipboard", watch ? 1 : 0);
}

void CSettings::ReadMirrors()
{
    m_nLoadFlag = m_profile.GetInt(kSection, "LoadFlag", 49153);
    m_bPreisListe = m_profile.GetInt(kSection, "PreisListe", 0) != 0;
    m_bMaxFarm = m_profile.GetInt(kSection, "MaxFarm", 0) != 0;
    m_nMaxLevel = m_profile.GetInt(kSection, "MaxLevel", 99);
    m_nOriginMask = m_profile.GetInt(kSection, "OriginMask", -1);
    m_bWatchClipboard = m_profile.GetInt(kSection, "WatchClipboard", 0) != 0;
}
