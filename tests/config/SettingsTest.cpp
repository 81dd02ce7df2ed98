#include "config/Settings.h"

#include "ProfileTestText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(Settings, EmptyValuesReadAsZeroAndMissingOnesAsTheirDefaults)
{
    CIniFile profile;
    ReadProfileText(profile, "[Settings]\r\nMaxFarm=\r\nMaxLevel=\r\nPreisListe=7\r\n");
    CSettings settings(profile);
    settings.ReadMirrors();
    EXPECT_EQ(49153, settings.LoadFlag());
    EXPECT_TRUE(settings.ShowsPriceList());
    EXPECT_FALSE(settings.CapsAtFarmPrice());
    EXPECT_EQ(0, settings.MaxLevel());
    EXPECT_EQ(-1, settings.OriginMask());
}

TEST(Settings, SettersUpdateTheMirrorAndTheSavedProfile)
{
    TempDir dir;
    CIniFile profile;
    profile.SetAutoReload(false);
    profile.SetAutoSave(false);
    CSettings settings(profile);

    struct Case {
        int level;
        int stored;
    } const levels[] = { { 45, 45 }, { 1, 1 }, { 0, 1 }, { -3, 1 } };
    for (const Case& c : levels) {
        EXPECT_TRUE(settings.SetMaxLevel(c.level));
        EXPECT_EQ(c.stored, settings.MaxLevel()) << c.level;
        EXPECT_EQ(c.stored, profile.GetInt("Settings", "MaxLevel", 99)) << c.level;
    }

    settings.SetShowPriceList(true);
    settings.SetCapAtFarmPrice(false);
    settings.SetOriginMask(-6);
    settings.SetWatchClipboard(true);
    EXPECT_TRUE(settings.ShowsPriceList());
    EXPECT_EQ(-6, settings.OriginMask());

    ASSERT_TRUE(profile.Save(dir.file("q.ini")));
    EXPECT_EQ("[Settings]\r\nMaxLevel=1\r\nPreisListe=1\r\nMaxFarm=0\r\nOriginMask=-"
              "6\r\nWatchClipboard=1\r\n",
        ReadWholeFile(dir.file("q.ini")));
}
