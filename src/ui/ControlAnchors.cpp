#include "ui/ControlAnchors.h"

#include "platform/IntegerScan.h"

#include <algorithm>
#include <cmath>

const std::array<CControlAnchor, 13> g_ControlAnchors { {
    { IDC_DATE, ANCHOR_MOVE_X },
    { IDC_MARKET_DATE, ANCHOR_MOVE_X },
    { IDC_INPUT, ANCHOR_GROW_X },
    { IDC_REPORT, ANCHOR_GROW_X | ANCHOR_GROW_Y },
    { IDC_PRICE_LIST, ANCHOR_GROW_X | ANCHOR_GROW_Y },
    { IDC_CALCULATE, ANCHOR_MOVE_Y },
    { IDC_DOWNLOAD, ANCHOR_MOVE_Y },
    { IDC_DOWNLOAD_ALL, ANCHOR_MOVE_Y },
    { IDC_LOAD_SERVER_LIST, ANCHOR_MOVE_Y },
    { IDC_LOCKED, ANCHOR_MOVE_X | ANCHOR_MOVE_Y },
    { IDC_DETAILS, ANCHOR_MOVE_X | ANCHOR_MOVE_Y },
    { IDC_TOGGLE_PANE, ANCHOR_MOVE_X | ANCHOR_MOVE_Y },
    { IDC_CLOSE, ANCHOR_MOVE_X | ANCHOR_MOVE_Y },
} };

namespace {

constexpr int kMaxRestoredSize = 2000;

QRect WithRightEdge(QRect rect, int right)
{
    rect.setWidth(right - rect.x());
    return rect;
}

int RightEdge(const QRect& rect)
{
    return rect.x() + rect.width();
}

} // namespace

void CControlAnchors::Capture(const ControlLookup& control)
{
    for (std::size_t i = 0; i < g_ControlAnchors.size(); ++i) {
        CRecord& record = m_records[i];
        record.pControl = control(g_ControlAnchors[i].nId);
        record.rect = record.pControl ? record.pControl->geometry() : QRect();
    }
}

const CControlAnchors::CRecord* CControlAnchors::Find(int id) const
{
    for (std::size_t i = 0; i < g_ControlAnchors.size(); ++i) {
        if (g_ControlAnchors[i].nId == id)
            return m_records[i].pControl ? &m_records[i] : nullptr;
    }
    return nullptr;
}

QWidget* CControlAnchors::Control(int id) const
{
    const CRecord* record = Find(id);
    return record ? record->pControl.data() : nullptr;
}

QRect CControlAnchors::AnchoredRect(int id, int dx, int dy, bool paneShown) const
{
    const auto anchor = std::find_if(g_ControlAnchors.begin(), g_ControlAnchors.end(),
        [id](const CControlAnchor& entry) { return entry.nId == id; });
    const CRecord* record = Find(id);
    if (anchor == g_ControlAnchors.end() || !record)
        return QRect();

    int left = record->rect.x();
    int top = record->rect.y();
    int right = RightEdge(record->rect);
    int bottom = record->rect.y() + record->rect.height();
    int flags = anchor->nFlags;
    if (id == IDC_INPUT || id == IDC_REPORT) {
        // With the pane shown the edits keep their width; hidden, they take the pane's place
        // and grow with the window.
        if (paneShown) {
            flags &= ~ANCHOR_GROW_X;
        } else {
            if (const CRecord* pane = Find(IDC_PRICE_LIST))
                right = RightEdge(pane->rect);
            flags |= ANCHOR_GROW_X;
        }
    }
    if (flags & ANCHOR_MOVE_X)
        left += dx;
    if (flags & (ANCHOR_MOVE_X | ANCHOR_GROW_X))
        right += dx;
    if (flags & ANCHOR_MOVE_Y)
        top += dy;
    if (flags & (ANCHOR_MOVE_Y | ANCHOR_GROW_Y))
        bottom += dy;
    if (dx < 0)
        SqueezeLeftButtons(id, dx, left, right);
    return QRect(left, top, right - left, bottom - top);
}

// Narrower than the template (a small screen), the right-hand group of the bottom row moves
// onto the buttons on the left; these then narrow together so that they end where the group
// begins, keeping the template's gap.
void CControlAnchors::SqueezeLeftButtons(int id, int dx, int& left, int& right) const
{
    if (id != IDC_CALCULATE && id != IDC_DOWNLOAD && id != IDC_DOWNLOAD_ALL
        && id != IDC_LOAD_SERVER_LIST)
        return;
    const CRecord* first = Find(IDC_CALCULATE);
    const CRecord* second = Find(IDC_DOWNLOAD);
    const CRecord* last = Find(IDC_LOAD_SERVER_LIST);
    const CRecord* locked = Find(IDC_LOCKED);
    if (!first || !second || !last || !locked)
        return;
    const int start = first->rect.x();
    const int end = RightEdge(last->rect);
    const int gap = second->rect.x() - RightEdge(first->rect);
    const int limit = locked->rect.x() + dx - gap;
    if (end <= limit || limit <= start)
        return;
    const double scale = double(limit - start) / (end - start);
    left = start + int(std::lround((left - start) * scale));
    right = start + int(std::lround((right - start) * scale));
}

void CControlAnchors::RecalcLayout(int dx, int dy, bool paneShown) const
{
    QWidget* window = nullptr;
    for (std::size_t i = 0; i < g_ControlAnchors.size(); ++i) {
        QWidget* control = m_records[i].pControl;
        if (!control)
            continue;
        control->setGeometry(AnchoredRect(g_ControlAnchors[i].nId, dx, dy, paneShown));
        window = control->window();
    }
    if (window)
        window->update();
}

void CControlAnchors::ShowPriceList(bool show, const QRect& rcInput, const QRect& rcReport) const
{
    QWidget* input = Control(IDC_INPUT);
    QWidget* report = Control(IDC_REPORT);
    QWidget* pane = Control(IDC_PRICE_LIST);
    QWidget* details = Control(IDC_DETAILS);
    QRect inputRect = rcInput;
    QRect reportRect = rcReport;
    if (!show && pane) {
        const int paneRight = RightEdge(pane->geometry());
        inputRect = WithRightEdge(inputRect, paneRight);
        reportRect = WithRightEdge(reportRect, paneRight);
    }
    for (QWidget* widget : { pane, details }) {
        if (widget)
            widget->setVisible(show);
    }
    if (input)
        input->setGeometry(inputRect);
    if (report)
        report->setGeometry(reportRect);
}

QSize CControlAnchors::RestoredSize(
    std::string_view stored, const QSize& minimum, const QSize& available)
{
    int size[2] = { minimum.width(), minimum.height() };
    ScanSeparatedIntegers(stored, ',', size);
    const auto clamp = [](int value, int lowest, int screen) {
        return std::max(lowest, std::min({ value, kMaxRestoredSize, screen }));
    };
    return QSize(clamp(size[0], minimum.width(), available.width()),
        clamp(size[1], minimum.height(), available.height()));
}

std::string CControlAnchors::FormatSize(const QSize& size)
{
    return std::to_string(size.width()) + "," + std::to_string(size.height());
}

QPoint CControlAnchors::FramePosition(const QRect& frame, const QRect& available)
{
    const auto fit = [](int start, int length, int areaStart, int areaLength) {
        return std::max(areaStart, std::min(start, areaStart + areaLength - length));
    };
    return QPoint(fit(frame.x(), frame.width(), available.x(), available.width()),
        fit(frame.y(), frame.height(), available.y(), available.height()));
}
