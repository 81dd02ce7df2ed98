#include "prices/PriceList.h"
#include "prices/PricesFixture.h"

#include <gtest/gtest.h>

namespace {

class PriceListShortDateRowTest : public PricesFixture {
protected:
    PriceListShortDateRowTest() { LoadProfile(); }
};

// Werte "1,1" puts name and price in the first column, so rows of one field reach the date
// check; such a row names the date but holds none, and must not be read past its end.
TEST_F(PriceListShortDateRowTest, DateRowWithoutDateKeepsTheStoredDate)
{
    m_cache.SetServerValue("Server 1", "Stand", "05.12.2026 18:00");
    m_cache.SetServerValue("Server 1", "Werte", "1,1");
    Route("/server1", "Stand\nDatum/Uhrzeit\n");

    // Without a price row the list is no price list.
    EXPECT_EQ(DownloadServers({ "Server 1" }), 1);
    EXPECT_EQ(Value("Server 1", "Stand"), "05.12.2026 18:00");
    CServerTable& table = *m_cache.FindTable("Server 1");
    EXPECT_TRUE(m_priceList.ParsePriceLine(table, "Datum/Uhrzeit", 0, 0, -1));
    EXPECT_EQ(Value("Server 1", "Stand"), "05.12.2026 18:00");
}

} // namespace
