#include "window/ControlAnchors.h"
#include "window/ControlIds.h"

#include "support/FakeWindowView.h"

#include <gtest/gtest.h>

namespace {

// The main window's controls where its template puts them.
class ControlAnchorsTest : public testing::Test {
protected:
    ControlAnchorsTest()
    {
        m_view.LayOut(IDD_MAIN);
        m_anchors.Capture(m_view);
    }

    SRect Rect(int id) { return m_view[id].rect; }

    CFakeWindowView m_view;
    CControlAnchors m_anchors;
};

} // namespace

TEST_F(ControlAnchorsTest, ControlsFollowTheWindowSize)
{
    const int dx = 130, dy = 70;
    struct Case {
        int id;
        int left, top, width, height; // change of each for a window grown by dx, dy
    };
    const Case cases[] = { { IDC_DATE, dx, 0, 0, 0 }, { IDC_MARKET_DATE, dx, 0, 0, 0 },
        { IDC_INPUT, 0, 0, 0, 0 }, { IDC_REPORT, 0, 0, 0, dy }, { IDC_PRICE_LIST, 0, 0, dx, dy },
        { IDC_CALCULATE, 0, dy, 0, 0 }, { IDC_DOWNLOAD_ALL, 0, dy, 0, 0 },
        { IDC_LOCKED, dx, dy, 0, 0 }, { IDC_CLOSE, dx, dy, 0, 0 }, { IDC_SERVERS, 0, 0, 0, 0 } };
    const CFakeWindowView before = m_view;
    m_anchors.RecalcLayout(m_view, dx, dy, true);
    for (const Case& c : cases) {
        const SRect old = before.ControlRect(c.id);
        const SRect expected { old.x + c.left, old.y + c.top, old.width + c.width,
            old.height + c.height };
        EXPECT_EQ(Rect(c.id), expected) << c.id;
    }
    m_anchors.RecalcLayout(m_view, 0, 0, true);
    for (const auto& [id, control] : before.m_controls)
        EXPECT_EQ(Rect(id), control.rect) << id;
}

TEST_F(ControlAnchorsTest, HiddenPaneLeavesItsPlaceToTheEdits)
{
    const SRect input = Rect(IDC_INPUT), report = Rect(IDC_REPORT), pane = Rect(IDC_PRICE_LIST);
    m_anchors.RecalcLayout(m_view, 100, 0, true);
    m_anchors.ShowPriceList(m_view, false, input, report);
    EXPECT_FALSE(m_view.IsShown(IDC_PRICE_LIST));
    EXPECT_FALSE(m_view.IsShown(IDC_DETAILS));
    EXPECT_EQ(Rect(IDC_INPUT).Right(), pane.Right() + 100);
    EXPECT_EQ(Rect(IDC_REPORT),
        (SRect { report.x, report.y, pane.Right() + 100 - report.x, report.height }));
    EXPECT_EQ(m_anchors.AnchoredRect(IDC_INPUT, 150, 0, false).Right(), pane.Right() + 150);

    m_anchors.ShowPriceList(m_view, true, input, report);
    EXPECT_TRUE(m_view.IsShown(IDC_PRICE_LIST));
    EXPECT_TRUE(m_view.IsShown(IDC_DETAILS));
    EXPECT_EQ(Rect(IDC_INPUT), input);
    EXPECT_EQ(Rect(IDC_REPORT), report);
}

// On a screen narrower than the template the bottom row still does not overlap.
TEST_F(ControlAnchorsTest, NarrowWindowSqueezesTheLeftButtons)
{
    m_anchors.RecalcLayout(m_view, -150, 0, true);
    const int row[] = { IDC_CALCULATE, IDC_DOWNLOAD, IDC_DOWNLOAD_ALL, IDC_LOAD_SERVER_LIST,
        IDC_LOCKED, IDC_DETAILS, IDC_TOGGLE_PANE, IDC_CLOSE };
    for (std::size_t i = 1; i < std::size(row); ++i)
        EXPECT_LT(Rect(row[i - 1]).Right(), Rect(row[i]).x) << row[i];
}

TEST(ControlAnchors, MissingControlsAreNeverPlaced)
{
    CFakeWindowView view;
    view[IDC_CLOSE].rect = { 10, 20, 30, 40 };
    CControlAnchors anchors;
    anchors.Capture(view);
    anchors.RecalcLayout(view, 5, 5, false);
    EXPECT_EQ(view.m_controls.size(), 1u);
    EXPECT_EQ(anchors.AnchoredRect(IDC_INPUT, 5, 5, false), SRect());
}

TEST(ControlAnchors, StoredSizeIsRestoredWithinLimits)
{
    const SSize minimum { 700, 500 }, screen { 1920, 1040 };
    const std::pair<std::string, SSize> cases[]
        = { { "3000,100", { 1920, 500 } }, { "", minimum }, { "breit", minimum },
              { "-5,-5", minimum }, { "750;540", { 750, 500 } }, { "750,540", { 750, 540 } } };
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(CControlAnchors::RestoredSize(stored, minimum, screen), expected) << stored;
    EXPECT_EQ(CControlAnchors::RestoredSize("3000,3000", minimum, { 4000, 4000 }),
        (SSize { 2000, 2000 }));
    EXPECT_EQ(CControlAnchors::FormatSize({ 812, 640 }), "812,640");
}

TEST(ControlAnchors, FrameMovesOntoTheAvailableAreaTitleBarFirst)
{
    const SRect area { 0, 30, 1024, 570 }; // below a panel
    const std::pair<SRect, SPoint> cases[] = {
        { { 59, 10, 888, 400 }, { 59, 30 } },
        { { 500, 300, 888, 400 }, { 136, 200 } },
        { { -5, 0, 1100, 700 }, { 0, 30 } },
        { { 10, 40, 200, 100 }, { 10, 40 } },
    };
    for (const auto& [frame, placed] : cases)
        EXPECT_EQ(CControlAnchors::FramePosition(frame, area), placed);
}
