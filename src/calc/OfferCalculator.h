#pragma once

#include "calc/ReportTexts.h"
#include "config/ListTemplates.h"
#include "config/PlantTables.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

class CPlantCatalog;
class CServerCache;
class CSettings;
class CTexts;

// The report's verdict as numbers: the offered sum and that sum in percent of the list's farm
// price, market price and market price less the market's fee.
struct COfferSummary {
    bool bPriced = false; // the list has items
    bool bMarketPriced = false; // the server has a market price for one of them
    double offeredSum = 0.0;
    double farmPercent = 0.0;
    double marketPercent = 0.0;
    double netMarketPercent = 0.0;
    int nUnknown = 0; // items the catalogue does not know, priced at zero
};

// What one calculation shows in the main window.
struct CCalculation {
    std::string strDateLabel; // when the server's prices were fetched
    std::string strMarketLabel; // the date the price list states
    std::string strPriceList; // the pane of farm and market prices
    std::string strReport; // the priced shopping list; empty without items
    COfferSummary summary;
};

// The main window's tables and the computations on them: the offer report, the price list
// pane and the effective market prices of the selected server.
class COfferCalculator {
public:
    COfferCalculator(const CPlantCatalog& catalog, const CTexts& texts, CServerCache& servers,
        const CSettings& settings);

    const CListTemplates& Templates() const { return m_templates; }
    const CReportTexts& ReportTexts() const { return m_reportTexts; }
    const std::string& Server() const { return m_strServer; }
    // The caller rebuilds the market prices afterwards, as after any change of server.
    void SelectServer(std::string name) { m_strServer = std::move(name); }
    // The window's date caption, which the date label starts with.
    void SetDateLabel(std::string label) { m_strDateLabel = std::move(label); }
    // Filled by the code that loads the profile's catalogue and list templates, and by nobody else.
    CPlantTables& TablesToLoad() { return m_tables; }
    CListTemplates& TemplatesToLoad() { return m_templates; }
    // The effective market price text of an upper-cased catalogue name; none before a rebuild
    // or for a plant without a farm price.
    std::optional<std::string> MarketPrice(std::string_view key) const;

    // Reads the report texts of the chosen language; until then they are empty.
    void ReadTexts();
    CCalculation Calculate(std::string_view inputText) const;
    // Refills the market prices from the selected server, capped at the farm price on request.
    void RebuildMarketPrices();
    // A price typed into the pane for a plant shown there; true when it was taken, after which
    // the caller recalculates.
    bool SetMarketPrice(std::string_view displayName, std::string_view text);

private:
    struct CPricedItem;

    std::string DateLabel() const;
    std::string MarketLabel() const;
    std::string PriceListText() const;
    bool IsListed(const std::string& key) const;
    CPricedItem PriceItem(int count, const std::string& name) const;
    std::string ReportText(std::string_view inputText, COfferSummary& summary) const;
    std::string MarketPriceOf(const std::string& key) const;
    std::string Decimal(std::string piece) const;

    CPlantTables m_tables;
    CListTemplates m_templates;
    // Upper-cased catalogue name -> market price text, as cached, capped or typed.
    std::unordered_map<std::string, std::string> m_mapMarketPrice;
    std::string m_strServer;
    std::string m_strDateLabel;
    CReportTexts m_reportTexts;
    const CPlantCatalog& m_catalog;
    const CTexts& m_texts;
    CServerCache& m_servers;
    const CSettings& m_settings;
};
