#include "calc/ListReader.h"
#include "calc/CalcFixtures.h"
#include "calc/ListPaste.h"
#include "calc/ListPattern.h"
#include "support/ShippedProfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

void PrintTo(const ShoppingItem& item, std::ostream* out)
{
    *out << item.count << " x '" << item.name << "'";
}

namespace {

std::vector<std::string> Texts(const std::vector<CScanValue>& values)
{
    std::vector<std::string> texts;
    for (const CScanValue& value : values)
        texts.push_back(value.strText);
    return texts;
}

TEST(ListPattern, ScanFollowsTheMatchingRulesOfSscanf)
{
    const std::string item = "%d x %s %s %s %s";
    const std::string longWord(kMaxScanWord, 'w');
    const struct {
        std::string text;
        std::string pattern;
        std::vector<std::string> expected;
    } cases[] = {
        { "3 x Karotte", item, { "3", "Karotte" } },
        { "3x Karotte", item, { "3", "Karotte" } },
        { "  3 \t x\tgelbe  Teichrose ", item, { "3", "gelbe", "Teichrose" } },
        { "1 x a b c d e", item, { "1", "a", "b", "c", "d" } },
        { "3 X Karotte", item, { "3" } },
        { "Karotte x 3", item, {} },
        { "1.000 x Karotte", item, { "1" } },
        { "+5 x A", item, { "+5", "A" } },
        { "-5 x A", item, { "-5", "A" } },
        { "- 5 x A", item, {} },
        { "2147483647 x A", item, { "2147483647", "A" } },
        { "-2147483648 x A", item, { "-2147483648", "A" } },
        { "2147483648 x A", item, {} },
        { "99999999999 x Karotte", item, {} },
        { "00000000000000000000007 x A", item, { "00000000000000000000007", "A" } },
        { "", item, {} },
        { "   ", item, {} },
        { "3 x ", item, { "3" } },
        { "3 x " + longWord, item, { "3", longWord } },
        { "3 x " + longWord + "w", item, { "3" } },
        { "3 x a " + std::string(200, 'w') + " b", item, { "3", "a" } },
        { "Summe: 1,50 wT", "Summe: %s %s", { "1,50", "wT" } },
        { "Summe:1,50", "Summe: %s %s", { "1,50" } },
        { "Summe 1,50 wT", "Summe: %s %s", {} },
        { "summe: 1,50 wT", "Summe: %s %s", {} },
        { "Belopp: 1 234,50 kr", "Belopp: %s %s %s", { "1", "234,50", "kr" } },
        { "7 %", "%d %%", { "7" } },
        { "7 1.5", "%d %f", { "7" } },
        { "7", "%d %", { "7" } },
    };
    std::vector<CScanValue> values;
    for (const auto& c : cases) {
        const int count = ScanListPattern(c.text, c.pattern, values);
        EXPECT_EQ(static_cast<int>(c.expected.size()), count) << c.text << " / " << c.pattern;
        EXPECT_EQ(c.expected, Texts(values)) << c.text << " / " << c.pattern;
    }
}

TEST(ListReader, NormalizeListTextPutsTitleTotalAndQuestionOnLinesOfTheirOwn)
{
    const CListTemplates templates = DefaultListTemplates();
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        { "xyz Einkaufsliste3 x Karotte", "Einkaufsliste\r\n3 x Karotte" },
        { "Einkaufsliste3 x Karotte", "Einkaufsliste3 x Karotte" },
        { "Einkaufsliste 2 x Salat Summe: 1,50 wT Produkte jetzt verkaufen? more text",
            "Einkaufsliste 2 x Salat \r\nSumme: 1,50 wT \r\nProdukte jetzt verkaufen?" },
        { "Pirk says: Shopping list3 x Carrots1 x LettuceTotal: 1,20 gBSell products now?Yes No",
            "Shopping list\r\n3 x Carrots1 x Lettuce\r\nTotal: 1,20 gB\r\nSell products now?" },
        { "Hi Einkaufsliste\r\n3 x Karotte\nSumme: 1 wT\rProdukte jetzt verkaufen?\r\nJa",
            "Einkaufsliste\r\n3 x Karotte\nSumme: 1 wT\rProdukte jetzt verkaufen?" },
        { "abc Shopping list", "Shopping list\r\n" },
        { "Summe: 1,00 wT", "Summe: 1,00 wT" },
        { "Produkte jetzt verkaufen? Produkte jetzt verkaufen?",
            "Produkte jetzt verkaufen? Produkte jetzt verkaufen?" },
        { "Einkaufsliste x Einkaufsliste", "Einkaufsliste x Einkaufsliste" },
        { "", "" },
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        NormalizeListText(text, templates);
        EXPECT_EQ(c.expected, text) << c.text;
    }
}

TEST(ListReader, SplitListLineSeparatesTitlesQuestionAndTotal)
{
    const CListTemplates templates = DefaultListTemplates();
    const struct {
        std::string line;
        std::vector<std::string> expected;
    } cases[] = {
        { "Einkaufsliste3 x Karotte", { "Einkaufsliste", "3 x Karotte" } },
        { "Einkaufsliste 2 x Salat \r", { "Einkaufsliste", " 2 x Salat" } },
        { "EinkaufslisteShopping list", { "Einkaufsliste", "Shopping list" } },
        { "3 x KarotteSumme: 1,00 wT", { "Summe: 1,00 wT", "3 x Karotte" } },
        { "Summe: 1,00 wTProdukte jetzt verkaufen?",
            { "Produkte jetzt verkaufen?", "Summe: 1,00 wT" } },
        { "Produkte jetzt verkaufen?", { "Produkte jetzt verkaufen?" } },
        { "a Produkte jetzt verkaufen?b", { "Produkte jetzt verkaufen?", "a b" } },
        { "Belopp: 1 234 kr", { "Belopp: 1 234 kr" } },
        { " \t 2 x Salat \r", { "2 x Salat" } },
        { "\r", {} },
        { "", {} },
    };
    for (const auto& c : cases) {
        std::vector<std::string> elements;
        SplitListLine(c.line, templates, elements);
        EXPECT_EQ(c.expected, elements) << c.line;
    }
}

TEST(ListReader, ReadListItemsFindsItemsAndTheLastTotal)
{
    const CListTemplates templates = DefaultListTemplates();
    const std::string longWord(200, 'w');
    const struct {
        std::string text;
        std::vector<ShoppingItem> items;
        double sum;
    } cases[] = {
        { "Einkaufsliste\r\n3 x Karotte\r\n2 x gelbe Teichrose\r\nSumme: 25,00 wT\r\n"
          "Produkte jetzt verkaufen?",
            { { 3, "Karotte" }, { 2, "gelbe Teichrose" } }, 25.0 },
        { "Einkaufsliste 2 x Salat \r\nSumme: 1,50 wT \r\nProdukte jetzt verkaufen?",
            { { 2, "Salat" } }, 1.5 },
        { "Einkaufsliste3 x Karotte", { { 3, "Karotte" } }, 0.0 },
        { "3 x KarotteSumme: 1,00 wT", { { 3, "Karotte" } }, 1.0 },
        { "Summe: 1,00 wTProdukte jetzt verkaufen?\nProdukte jetzt verkaufen?", {}, 1.0 },
        { "Summe: 1.234,50 wT", {}, 1234.5 },
        { "Summe: 1.234 wT", {}, 1.234 },
        { "Belopp: 1 234 kr", {}, 1234.0 },
        { "Belopp: 1 234,50 kr", {}, 1234.5 },
        { "Summe: 5,00 wT\nTotal: 7,25 gB", {}, 7.25 },
        { "Summe: abc wT", {}, 0.0 },
        { "1 x a b c d e", { { 1, "a b c d" } }, 0.0 },
        { "1.000 x Karotte\n0 x Karotte\n-1 x Karotte\n99999999999 x Karotte\n3 X Karotte\n"
          "Karotte x 3\n2 x",
            {}, 0.0 },
        { "1 x " + longWord, {}, 0.0 },
        { "2 x gelbe " + longWord + " Teichrose", { { 2, "gelbe" } }, 0.0 },
        { "Summe: " + longWord + " wT", {}, 0.0 },
        { "3 x Karotte\n3 x Karotte", { { 3, "Karotte" }, { 3, "Karotte" } }, 0.0 },
        { "", {}, 0.0 },
        { "\n\r\n\n", {}, 0.0 },
    };
    for (const auto& c : cases) {
        const CListReading reading = ReadListItems(c.text, templates);
        EXPECT_EQ(c.items, reading.items) << c.text;
        EXPECT_DOUBLE_EQ(c.sum, reading.offeredSum) << c.text;
    }
}

TEST(ListReader, EveryItemTemplateThatMatchesYieldsAnItem)
{
    CListTemplates templates = DefaultListTemplates();
    templates.m_astrZeile.push_back("%d x %s");
    const CListReading reading = ReadListItems("2 x gelbe Teichrose", templates);
    EXPECT_EQ(
        (std::vector<ShoppingItem> { { 2, "gelbe Teichrose" }, { 2, "gelbe" } }), reading.items);
}

using FakeClipboard = CPresetClipboard;

// Activation pastes only a list the player copied elsewhere; an explicit paste takes anything.
TEST(ListPaste, ActivationTakesOnlyForeignTextThatReadsAsAList)
{
    const CListTemplates templates = DefaultListTemplates();
    const struct {
        const char* text;
        bool own;
        bool pasted;
    } cases[] = {
        { "Einkaufsliste\r\n1 x Karotte", false, true },
        { "noise 2 x Salat", false, false }, // an item must start its element
        { "2 x Salat", false, true },
        { "Shopping list", false, true },
        { "Summe: 3,00 wT", false, true },
        { "https://example.org/ und sonst nichts", false, false },
        { "Karotte", false, false },
        // What the program copied itself, here the report's total line and a whole report.
        { "Summe: 25,00 wT\t2 Punkte", true, false },
        { "\tArtikel\tHerkunft\r\n3\tKarotte\t0,06=0,18\r\n\r\nSumme: 1,00 wT", true, false },
    };
    for (const auto& c : cases) {
        FakeClipboard clipboard;
        CListPaste paste;
        clipboard.m_strText = "Einkaufsliste\r\n9 x Tomate";
        ASSERT_TRUE(paste.Paste(clipboard, templates));
        clipboard.m_strText = c.text;
        clipboard.m_bOwn = c.own;
        EXPECT_EQ(c.pasted, paste.HasNewList(clipboard, templates)) << c.text;
        EXPECT_TRUE(paste.Paste(clipboard, templates)) << c.text;
    }
}

// Text past the bound is never taken unasked, neither on activation nor when the window opens;
// an explicit paste still takes it.
TEST(ListPaste, TextPastTheBoundIsTakenOnlyWhenAskedFor)
{
    const CListTemplates templates = DefaultListTemplates();
    FakeClipboard clipboard;
    for (const std::size_t size : { kMaxListBytes, kMaxListBytes + 1 }) {
        CListPaste paste;
        clipboard.m_strText = "Einkaufsliste\r\n" + std::string(size - 15, '\n');
        EXPECT_EQ(paste.HasNewList(clipboard, templates), size <= kMaxListBytes) << size;
        EXPECT_EQ(paste.PasteAtStart(clipboard, templates).has_value(), size <= kMaxListBytes);
        EXPECT_TRUE(paste.Paste(clipboard, templates)) << size;
    }
}

TEST(ListPaste, PasteNormalisesTheClipboardAndRemembersIt)
{
    const CListTemplates templates = DefaultListTemplates();
    FakeClipboard clipboard;
    CListPaste paste;
    clipboard.m_strText = "xyz Einkaufsliste3 x Karotte";
    EXPECT_EQ("Einkaufsliste\r\n3 x Karotte", paste.Paste(clipboard, templates));
    EXPECT_EQ("Einkaufsliste\r\n3 x Karotte", paste.LastList());
    EXPECT_FALSE(paste.HasNewList(clipboard, templates));

    clipboard.m_strText = "Einkaufsliste\r\n2 x Salat";
    EXPECT_TRUE(paste.HasNewList(clipboard, templates));
    EXPECT_EQ("Einkaufsliste\r\n2 x Salat", paste.Paste(clipboard, templates));
    EXPECT_FALSE(paste.HasNewList(clipboard, templates));
}

TEST(ListPaste, PasteFromAnEmptyClipboardKeepsTheInputButForgetsTheLastList)
{
    const CListTemplates templates = DefaultListTemplates();
    FakeClipboard clipboard;
    CListPaste paste;
    clipboard.m_strText = "Einkaufsliste\r\n3 x Karotte";
    ASSERT_TRUE(paste.Paste(clipboard, templates));

    clipboard.m_strText.clear();
    EXPECT_TRUE(paste.HasNewList(clipboard, templates));
    EXPECT_EQ(std::nullopt, paste.Paste(clipboard, templates));
    EXPECT_EQ("", paste.LastList());
    EXPECT_FALSE(paste.HasNewList(clipboard, templates));

    clipboard.m_strText = "Einkaufsliste\r\n3 x Karotte";
    EXPECT_TRUE(paste.HasNewList(clipboard, templates));
}

} // namespace
