#include "calc/OfferCalculator.h"

#include "calc/Amount.h"
#include "calc/ListReader.h"
#include "config/PlantCatalog.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "platform/TextCase.h"
#include "servers/ServerCache.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

constexpr const char* kNoMarketPrice = "0,00";
constexpr double kMaxManualPrice = 1000.0;
constexpr int kOriginBits = 32;

// The leading whole number of a text as atoi reads it, saturated far beyond the int range.
long long LeadingNumber(std::string_view text)
{
    size_t pos = text.find_first_not_of(" \t\n\v\f\r");
    if (pos == std::string_view::npos)
        return 0;
    const bool negative = text[pos] == '-';
    if (text[pos] == '+' || text[pos] == '-')
        ++pos;
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = std::min(value * 10 + (text[pos] - '0'), 1LL << 40);
    return negative ? -value : value;
}

std::string F2(double value)
{
    return FormatFixed(value, 2);
}

// Joins pieces in one allocation.
std::string Concat(std::initializer_list<std::string_view> pieces)
{
    size_t size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    std::string result;
    result.reserve(size);
    for (std::string_view piece : pieces)
        result += piece;
    return result;
}

// Unit price and total of one report cell: "unit=total".
std::string PriceCell(double unit, double total)
{
    return Concat({ "\t", F2(unit), "=", F2(total) });
}

// The offer in percent of a total; 0 where the quotient is no sensible number (a total of 1e-300).
double Percent(double offer, double total)
{
    const double percent = total > 0.0 ? offer / total * 100 : 0.0;
    return std::isfinite(percent) && std::fabs(percent) <= kMaxAmount ? percent : 0.0;
}

} // namespace

// One shopping-list item with the prices and points of its plant; zero for an unknown plant.
struct COfferCalculator::CPricedItem {
    int count = 0;
    std::string displayName;
    double farmPrice = 0.0;
    double marketPrice = 0.0;
    double npcPrice = 0.0;
    double pointsPerUnit = 0.0;
    bool bKnown = false; // the catalogue knows the plant
};

COfferCalculator::COfferCalculator(const CPlantCatalog& catalog, const CTexts& texts,
    CServerCache& servers, const CSettings& settings)
    : m_catalog(catalog)
    , m_texts(texts)
    , m_servers(servers)
    , m_settings(settings)
{
}

void COfferCalculator::ReadTexts()
{
    m_reportTexts.ReadTexts(m_texts);
}

CCalculation COfferCalculator::Calculate(std::string_view inputText) const
{
    CCalculation result { DateLabel(), MarketLabel(), PriceListText(), {}, {} };
    result.strReport = ReportText(inputText, result.summary);
    return result;
}

// A server never loaded may carry an empty stamp or the "not loaded" text of another
// language; either reads in the current one.
std::string COfferCalculator::DateLabel() const
{
    std::string stamp
        = m_servers.GetServerValue(m_strServer, "Aktualisiert", m_reportTexts.Txt_DefaultDate);
    if (m_texts.IsDefaultDate(stamp))
        stamp = m_reportTexts.Txt_DefaultDate;
    return Concat({ m_strDateLabel, " ", stamp });
}

std::string COfferCalculator::MarketLabel() const
{
    return Concat({ m_texts.GetText("Txt_DateMarket"), " ",
        m_servers.GetServerValue(m_strServer, "Stand", "") });
}

std::string COfferCalculator::PriceListText() const
{
    std::string pane = Concat({ "\t", m_reportTexts.Txt_Origin, "\t", m_reportTexts.Txt_Market });
    for (const std::string& displayName : m_tables.m_astrDisplayNames) {
        const std::string key = MakeUpper(m_catalog.TranslatePlantName(displayName));
        if (IsListed(key))
            pane += Decimal(Concat({ "\r\n", displayName, "\t",
                CPlantTables::Field(m_tables.m_mapOriginPrice, key), "\t", MarketPriceOf(key) }));
    }
    return pane;
}

// The pane shows what the player can buy: a farm price, a level within reach and an origin
// that the mask lets through. An origin without a bit in the 32-bit mask is not shown.
bool COfferCalculator::IsListed(const std::string& key) const
{
    if (ParseAmount(CPlantTables::Field(m_tables.m_mapOriginPrice, key)) == 0.0)
        return false;
    if (ParseAmount(CPlantTables::Field(m_tables.m_mapLevel, key)) > m_settings.MaxLevel())
        return false;
    const long long origin = LeadingNumber(CPlantTables::Field(m_tables.m_mapOrigin, key));
    if (origin < 0 || origin >= kOriginBits)
        return false;
    return (static_cast<unsigned>(m_settings.OriginMask()) >> origin) & 1u;
}

COfferCalculator::CPricedItem COfferCalculator::PriceItem(int count, const std::string& name) const
{
    const std::string plant = m_catalog.TranslatePlantName(name);
    const std::string key = MakeUpper(plant);
    const auto field = [&](const CPlantTables::FieldMap& map) {
        return ParseAmount(CPlantTables::Field(map, key));
    };

    CPricedItem item;
    item.count = count;
    // A plant the catalogue does not know keeps the name it was read with, so the player sees
    // which line was not recognised.
    item.displayName = CPlantTables::Field(m_tables.m_mapPlantToDisplay, plant);
    item.bKnown = !item.displayName.empty();
    if (!item.bKnown)
        item.displayName = plant;
    item.farmPrice = field(m_tables.m_mapOriginPrice);
    item.marketPrice = ParseAmount(MarketPriceOf(key));
    item.npcPrice = field(m_tables.m_mapNpcPrice);
    if (item.npcPrice == 0.0)
        item.npcPrice = item.farmPrice * 5.0 * (1.0 / 6.0);
    item.pointsPerUnit = field(m_tables.m_mapPoints);
    if (item.pointsPerUnit == 0.0)
        item.pointsPerUnit = field(m_tables.m_mapTime) * field(m_tables.m_mapFields) * 0.1;
    return item;
}

std::string COfferCalculator::ReportText(std::string_view inputText, COfferSummary& summary) const
{
    const CReportTexts& t = m_reportTexts;
    const std::string_view bounded = BoundedListText(inputText);
    const CListReading reading = ReadListItems(bounded, m_templates);
    const std::string cutNote = bounded.size() < inputText.size()
        ? CTexts::Fill(t.Txt_ListCut, std::to_string(kMaxListBytes / 1024), "")
        : std::string();
    if (reading.items.empty())
        return cutNote;

    std::string report = Concat({ "\t", t.Txt_Article, "\t", t.Txt_Origin, "\t", t.Txt_Market, "\t",
        t.Txt_Pirk, "\t", t.Txt_Points });
    double farmTotal = 0.0;
    double marketTotal = 0.0;
    double pointsTotal = 0.0;
    int unknown = 0;
    for (const ShoppingItem& shopping : reading.items) {
        const CPricedItem item = PriceItem(shopping.count, shopping.name);
        unknown += item.bKnown ? 0 : 1;
        const int count = item.count;
        report += Decimal(Concat({ "\r\n", std::to_string(count), "\t", item.displayName,
            PriceCell(item.farmPrice, count * item.farmPrice) }));

        if (item.marketPrice > 0.0)
            report += Decimal(PriceCell(item.marketPrice, count * item.marketPrice));
        else
            report += '\t';

        // Customer characters pay less per unit the more units they take.
        if (item.npcPrice > 0.0) {
            const double npcTotal = count * item.npcPrice * (1.0 - count * (1.0 / 275.0));
            const double npcUnit = npcTotal > 0.0 ? npcTotal / count : 0.0;
            report += Decimal(PriceCell(npcUnit, npcTotal));
        } else {
            report += '\t';
        }

        const double points = std::ceil(count * item.pointsPerUnit * 0.002);
        report += '\t';
        if (item.pointsPerUnit > 0.0)
            report += FormatFixed(points, 0);

        if (item.farmPrice > 0.0)
            farmTotal += count * item.farmPrice;
        if (item.marketPrice > 0.0)
            marketTotal += count * item.marketPrice;
        if (item.pointsPerUnit > 0.0)
            pointsTotal += points;
    }

    const double offer = reading.offeredSum;
    const std::string_view currency = t.Txt_Currency;
    report += Decimal(Concat({ "\r\n\r\n", t.Txt_Total, ": ", F2(offer), " ", currency }));
    report += '\t';
    if (pointsTotal > 0.0)
        report += Concat({ FormatFixed(pointsTotal, 0), " ", t.Txt_Points });
    summary = { true, marketTotal > 0.0, offer, Percent(offer, farmTotal), 0.0, 0.0, unknown };
    report += Decimal(Concat({ "\r\n\r\n", FormatFixed(summary.farmPercent, 1), "% ",
        t.Txt_FarmPrice, " (", F2(farmTotal), " ", currency, ")" }));
    if (summary.bMarketPriced) {
        const double netMarketTotal = marketTotal * 0.9;
        summary.marketPercent = Percent(offer, marketTotal);
        summary.netMarketPercent = Percent(offer, netMarketTotal);
        report += Decimal(Concat({ "\r\n", FormatFixed(summary.marketPercent, 1), "% ",
            t.Txt_MarketPrice, " (", F2(marketTotal), " ", currency, ")" }));
        report += Decimal(
            Concat({ "\r\n", FormatFixed(summary.netMarketPercent, 1), "% ", t.Txt_MarketPrice, " ",
                t.Txt_MinusTen, " (", F2(netMarketTotal), " ", currency, ")" }));
    }
    if (!cutNote.empty())
        report += Concat({ "\r\n\r\n", cutNote });
    return report;
}

void COfferCalculator::RebuildMarketPrices()
{
    m_mapMarketPrice.clear();
    for (const auto& [key, unused] : m_tables.m_mapOriginPrice) {
        const std::string plant = m_catalog.TranslatePlantName(key);
        std::string price = m_servers.GetServerValue(m_strServer, plant, kNoMarketPrice);
        if (m_settings.CapsAtFarmPrice()) {
            const double farmPrice
                = ParseAmount(CPlantTables::Field(m_tables.m_mapOriginPrice, MakeUpper(plant)));
            // The cap always takes a comma, whatever the language.
            if (ParseAmount(price) > farmPrice)
                price = ReplaceDecimal(F2(farmPrice), ",");
        }
        m_mapMarketPrice[key] = std::move(price);
    }
}

bool COfferCalculator::SetMarketPrice(std::string_view displayName, std::string_view text)
{
    const std::string plant = m_catalog.TranslatePlantName(displayName);
    const std::string key = MakeUpper(plant);
    const double price = ParseAmount(text);
    if (MarketPriceOf(key).empty() || !(price > 0.0 && price <= kMaxManualPrice))
        return false;

    // The price is stored in the server's table, so it must read back as typed: a decimal
    // text other than a point or a comma would turn 12.50 into 1250 or 12.
    const std::string& decimal = m_reportTexts.Txt_Decimal;
    std::string stored
        = ReplaceDecimal(F2(price), decimal == "." || decimal == "," ? decimal : ",");
    m_servers.SetServerValue(m_strServer, plant, stored);
    m_mapMarketPrice[key] = std::move(stored);
    return true;
}

std::optional<std::string> COfferCalculator::MarketPrice(std::string_view key) const
{
    const auto found = m_mapMarketPrice.find(std::string(key));
    return found == m_mapMarketPrice.end() ? std::nullopt : std::optional(found->second);
}

std::string COfferCalculator::MarketPriceOf(const std::string& key) const
{
    const auto found = m_mapMarketPrice.find(key);
    return found == m_mapMarketPrice.end() ? std::string() : found->second;
}

std::string COfferCalculator::Decimal(std::string piece) const
{
    return ReplaceDecimal(std::move(piece), m_reportTexts.Txt_Decimal);
}
