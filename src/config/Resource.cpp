#include "config/Resource.h"

#include "config/DefaultProfileData.h"

bool CResource::Load(int id, std::string_view type)
{
    Free();
    m_nId = id;
    m_strType = type;
    if (id == kDefaultProfileId && type == kDefaultProfileType) {
        m_pData = kDefaultProfileData;
        m_nSize = kDefaultProfileSize;
    }
    return m_pData != nullptr;
}

void CResource::Free()
{
    m_nId = 0;
    m_strType.clear();
    m_pData = nullptr;
    m_nSize = 0;
}
