#include "calc/CalcFixtures.h"

CListTemplates DefaultListTemplates()
{
    CListTemplates templates;
    templates.m_astrTitel = { "Einkaufsliste", "Shopping list", "Winkellijst", "Liste de courses",
        "Lista de la compra", "Lista de compras", "Ink\xF6pslista", "Lista spesa" };
    templates.m_astrZeile = { "%d x %s %s %s %s" };
    templates.m_astrTotal = { "Summe: %s %s", "Total: %s %s", "Totaal: %s %s", "Suma: %s %s",
        "Soma: %s %s", "Belopp: %s %s %s", "Totale: %s %s" };
    templates.m_astrFrage = { "Produkte jetzt verkaufen?", "Sell products now?",
        "Producten nu verkopen?", "Vendre des produits tout de suite?", "\xBFVender productos ahora?",
        "Vender os produtos agora?", "Vill du s\xE4lja produkterna?", "Vendere i prodotti adesso?" };
    return templates;
}
