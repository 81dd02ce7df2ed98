#include "config/ListTemplates.h"

#include "ProfileTestText.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

CListTemplates LoadFrom(const std::string& text)
{
    CIniFile profile;
    ReadProfileText(profile, text);
    CListTemplates templates;
    templates.Load(profile);
    return templates;
}

} // namespace

TEST(ListTemplates, AFamilyEndsAtItsFirstMissingOrEmptyKey)
{
    const CListTemplates templates = LoadFrom("[Liste]\r\n"
                                              "Titel1=  Einkaufsliste  \r\n"
                                              "Titel2=Shopping list\r\n"
                                              "Titel4=Liste de courses\r\n"
                                              "Zeile1=\r\n"
                                              "Zeile2=%d x %s\r\n"
                                              "Total2=Total: %s %s\r\n"
                                              "frage1=Sell products now?\r\n");
    EXPECT_EQ((Lines { "Einkaufsliste", "Shopping list" }), templates.m_astrTitel);
    EXPECT_EQ(Lines {}, templates.m_astrZeile);
    EXPECT_EQ(Lines {}, templates.m_astrTotal);
    EXPECT_EQ(Lines { "Sell products now?" }, templates.m_astrFrage);
}
