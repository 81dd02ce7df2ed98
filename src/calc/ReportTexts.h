#pragma once

#include <string>

class CTexts;

// The texts of the chosen language that the main window reads once at start for the report,
// the date label and its advertising line; named after their keys.
struct CReportTexts {
    std::string Txt_DefaultDate;
    std::string Txt_Article;
    std::string Txt_Origin;
    std::string Txt_Market;
    std::string Txt_Total;
    std::string Txt_Points;
    std::string Txt_Currency;
    std::string Txt_FarmPrice;
    std::string Txt_MarketPrice;
    std::string Txt_MinusTen;
    std::string Txt_Decimal;
    std::string Txt_Pirk;
    std::string Txt_Adv;
    std::string Txt_Adv_Link;
    std::string Txt_ListCut;

    void ReadTexts(const CTexts& texts);
};
