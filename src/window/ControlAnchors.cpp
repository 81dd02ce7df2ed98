#include "window/ControlAnchors.h"

#include "platform/IntegerScan.h"
#include "window/ControlIds.h"
#include "window/WindowView.h"

#include <algorithm>
#include <cmath>

namespace {

// How a control follows the window when it grows by dx, dy.
enum EAnchor {
    GROW_X = 1, // right edge moves by dx
    GROW_Y = 2, // bottom edge moves by dy
    MOVE_X = 4, // left and right edges move by dx
    MOVE_Y = 8, // top and bottom edges move by dy
};

struct SAnchor {
    int nId;
    int nFlags;
};

// The main window's controls that follow its size, in layout order; all others stay put.
// The input and report edits get their horizontal rule from the price list pane's visibility.
constexpr std::array<SAnchor, CControlAnchors::kAnchoredControls> kAnchors { {
    { IDC_DATE, MOVE_X },
    { IDC_MARKET_DATE, MOVE_X },
    { IDC_INPUT, GROW_X },
    { IDC_REPORT, GROW_X | GROW_Y },
    { IDC_PRICE_LIST, GROW_X | GROW_Y },
    { IDC_CALCULATE, MOVE_Y },
    { IDC_DOWNLOAD, MOVE_Y },
    { IDC_DOWNLOAD_ALL, MOVE_Y },
    { IDC_LOAD_SERVER_LIST, MOVE_Y },
    { IDC_LOCKED, MOVE_X | MOVE_Y },
    { IDC_DETAILS, MOVE_X | MOVE_Y },
    { IDC_TOGGLE_PANE, MOVE_X | MOVE_Y },
    { IDC_CLOSE, MOVE_X | MOVE_Y },
} };

constexpr int kMaxRestoredSize = 2000;

SRect WithRightEdge(SRect rect, int right)
{
    rect.width = right - rect.x;
    return rect;
}

const SAnchor* FindAnchor(int id)
{
    const auto anchor = std::find_if(
        kAnchors.begin(), kAnchors.end(), [id](const SAnchor& entry) { return entry.nId == id; });
    return anchor == kAnchors.end() ? nullptr : &*anchor;
}

// With the pane shown the edits keep their width; hidden, they take the pane's place and grow
// with the window.
int EditFlags(int flags, bool paneShown)
{
    return paneShown ? flags & ~GROW_X : flags | GROW_X;
}

} // namespace

void CControlAnchors::Capture(const IWindowView& view)
{
    for (std::size_t i = 0; i < kAnchors.size(); ++i) {
        const SRect rect = view.ControlRect(kAnchors[i].nId);
        m_records[i] = { rect != SRect(), rect };
    }
}

const CControlAnchors::SRecord* CControlAnchors::Find(int id) const
{
    for (std::size_t i = 0; i < kAnchors.size(); ++i) {
        if (kAnchors[i].nId == id)
            return m_records[i].bRecorded ? &m_records[i] : nullptr;
    }
    return nullptr;
}

SRect CControlAnchors::AnchoredRect(int id, int dx, int dy, bool paneShown) const
{
    const SAnchor* anchor = FindAnchor(id);
    const SRecord* record = Find(id);
    if (!anchor || !record)
        return {};

    int left = record->rect.x;
    int top = record->rect.y;
    int right = record->rect.Right();
    int bottom = record->rect.Bottom();
    int flags = anchor->nFlags;
    if (id == IDC_INPUT || id == IDC_REPORT) {
        flags = EditFlags(flags, paneShown);
        const SRecord* pane = Find(IDC_PRICE_LIST);
        if (!paneShown && pane)
            right = pane->rect.Right();
    }
    if (flags & MOVE_X)
        left += dx;
    if (flags & (MOVE_X | GROW_X))
        right += dx;
    if (flags & MOVE_Y)
        top += dy;
    if (flags & (MOVE_Y | GROW_Y))
        bottom += dy;
    if (dx < 0)
        SqueezeLeftButtons(id, dx, left, right);
    return { left, top, right - left, bottom - top };
}

// Narrower than the template (a small screen), the right-hand group of the bottom row moves
// onto the buttons on the left; these then narrow together so that they end where the group
// begins, keeping the template's gap.
void CControlAnchors::SqueezeLeftButtons(int id, int dx, int& left, int& right) const
{
    if (id != IDC_CALCULATE && id != IDC_DOWNLOAD && id != IDC_DOWNLOAD_ALL
        && id != IDC_LOAD_SERVER_LIST)
        return;
    const SRecord* first = Find(IDC_CALCULATE);
    const SRecord* second = Find(IDC_DOWNLOAD);
    const SRecord* last = Find(IDC_LOAD_SERVER_LIST);
    const SRecord* locked = Find(IDC_LOCKED);
    if (!first || !second || !last || !locked)
        return;
    const int start = first->rect.x;
    const int end = last->rect.Right();
    const int gap = second->rect.x - first->rect.Right();
    const int limit = locked->rect.x + dx - gap;
    if (end <= limit || limit <= start)
        return;
    const double scale = double(limit - start) / (end - start);
    left = start + int(std::lround((left - start) * scale));
    right = start + int(std::lround((right - start) * scale));
}

void CControlAnchors::RecalcLayout(IWindowView& view, int dx, int dy, bool paneShown) const
{
    for (std::size_t i = 0; i < kAnchors.size(); ++i) {
        if (m_records[i].bRecorded)
            view.Place(kAnchors[i].nId, AnchoredRect(kAnchors[i].nId, dx, dy, paneShown));
    }
}

void CControlAnchors::ShowPriceList(
    IWindowView& view, bool show, const SRect& rcInput, const SRect& rcReport) const
{
    SRect inputRect = rcInput;
    SRect reportRect = rcReport;
    if (!show && Find(IDC_PRICE_LIST)) {
        const int paneRight = view.ControlRect(IDC_PRICE_LIST).Right();
        inputRect = WithRightEdge(inputRect, paneRight);
        reportRect = WithRightEdge(reportRect, paneRight);
    }
    for (int id : { IDC_PRICE_LIST, IDC_DETAILS }) {
        if (Find(id))
            view.Show(id, show);
    }
    if (Find(IDC_INPUT))
        view.Place(IDC_INPUT, inputRect);
    if (Find(IDC_REPORT))
        view.Place(IDC_REPORT, reportRect);
}

SSize CControlAnchors::RestoredSize(std::string_view stored, SSize minimum, SSize available)
{
    int size[2] = { minimum.width, minimum.height };
    ScanSeparatedIntegers(stored, ',', size);
    const auto clamp = [](int value, int lowest, int screen) {
        return std::max(lowest, std::min({ value, kMaxRestoredSize, screen }));
    };
    return { clamp(size[0], minimum.width, available.width),
        clamp(size[1], minimum.height, available.height) };
}

std::string CControlAnchors::FormatSize(SSize size)
{
    return std::to_string(size.width) + "," + std::to_string(size.height);
}

SPoint CControlAnchors::FramePosition(const SRect& frame, const SRect& available)
{
    const auto fit = [](int start, int length, int areaStart, int areaLength) {
        return std::max(areaStart, std::min(start, areaStart + areaLength - length));
    };
    return { fit(frame.x, frame.width, available.x, available.width),
        fit(frame.y, frame.height, available.y, available.height) };
}
