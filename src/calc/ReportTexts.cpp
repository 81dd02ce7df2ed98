#include "calc/ReportTexts.h"

#include "config/Texts.h"

void CReportTexts::ReadTexts(const CTexts& texts)
{
    Txt_DefaultDate = texts.GetText("Txt_DefaultDate");
    Txt_Article = texts.GetText("Txt_Article");
    Txt_Origin = texts.GetText("Txt_Origin");
    Txt_Market = texts.GetText("Txt_Market");
    Txt_Total = texts.GetText("Txt_Total");
    Txt_Points = texts.GetText("Txt_Points");
    Txt_Currency = texts.GetText("Txt_Currency");
    Txt_FarmPrice = texts.GetText("Txt_FarmPrice");
    Txt_MarketPrice = texts.GetText("Txt_MarketPrice");
    Txt_MinusTen = texts.GetText("Txt_MinusTen");
    Txt_Decimal = texts.GetText("Txt_Decimal");
    Txt_Pirk = texts.GetText("Txt_Pirk");
    Txt_Adv = texts.GetText("Txt_Adv");
    Txt_Adv_Link = texts.GetText("Txt_Adv_Link");
    Txt_ListCut = texts.GetText("Txt_ListCut");
}
