#include "config/Settings.h"

#include "profile/IniFile.h"

using namespace SettingKeys;

CSettings::CSettings(CIniFile& profile)
    : m_profile(profile)
{
}

bool CSettings::SetShowPriceList(bool show)
{
    m_bShowPriceList = show;
    return m_profile.WriteInt(kSection, kShowPriceList, show ? 1 : 0);
}

bool CSettings::SetCapAtFarmPrice(bool capAtFarmPrice)
{
    m_bMaxFarm = capAtFarmPrice;
    return m_profile.WriteInt(kSection, kMaxFarm, capAtFarmPrice ? 1 : 0);
}

bool CSettings::SetMaxLevel(int level)
{
    m_nMaxLevel = level < 1 ? 1 : level;
    return m_profile.WriteInt(kSection, kMaxLevel, m_nMaxLevel);
}

bool CSettings::SetOriginMask(int mask)
{
    m_nOriginMask = mask;
    return m_profile.WriteInt(kSection, kOriginMask, mask);
}

bool CSettings::SetWatchClipboard(bool watch)
{
    m_bWatchClipboard = watch;
    return m_profile.WriteInt(kSection, kWatchClipboard, watch ? 1 : 0);
}

void CSettings::ReadMirrors()
{
    m_nLoadFlag = m_profile.GetInt(kSection, kLoadFlag, kDefaultLoadFlag);
    m_bShowPriceList = m_profile.GetInt(kSection, kShowPriceList, 0) != 0;
    m_bMaxFarm = m_profile.GetInt(kSection, kMaxFarm, 0) != 0;
    m_nMaxLevel = m_profile.GetInt(kSection, kMaxLevel, kDefaultMaxLevel);
    m_nOriginMask = m_profile.GetInt(kSection, kOriginMask, kDefaultOriginMask);
    m_bWatchClipboard = m_profile.GetInt(kSection, kWatchClipboard, 0) != 0;
}
