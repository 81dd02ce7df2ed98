#pragma once

#include "window/ControlIds.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <string_view>

// How a control follows the window when it grows by dx, dy.
enum EAnchorFlags {
    ANCHOR_GROW_X = 1, // right edge moves by dx
    ANCHOR_GROW_Y = 2, // bottom edge moves by dy
    ANCHOR_MOVE_X = 4, // left and right edges move by dx
    ANCHOR_MOVE_Y = 8, // top and bottom edges move by dy
};

struct CControlAnchor {
    int nId;
    int nFlags;
};

// The main window's controls that follow its size, in layout order; all others stay put.
// The input and report edits get their horizontal rule from the price list pane's visibility.
extern const std::array<CControlAnchor, 13> g_ControlAnchors;

// The main window's layout: where each anchored control stood at the template size, and how
// it moves when the window is larger than that or the price list pane is hidden.
class CControlAnchors {
public:
    using ControlLookup = std::function<QWidget*(int id)>;

    // Records each anchored control's current rectangle; a missing control stays unrecorded
    // and is never moved.
    void Capture(const ControlLookup& control);

    // Where a recorded control belongs when the window exceeds its minimum size by dx, dy;
    // null for a control that was not recorded.
    QRect AnchoredRect(int id, int dx, int dy, bool paneShown) const;
    // Moves every recorded control there and repaints the window once.
    void RecalcLayout(int dx, int dy, bool paneShown) const;

    // Shows or hides the pane and the Details button. The edits go back to the given
    // rectangles; with the pane hidden they reach as far right as the pane reaches now.
    void ShowPriceList(bool show, const QRect& rcInput, const QRect& rcReport) const;

    // The stored "width,height": each number that reads replaces the minimum, then both are
    // kept between the minimum and 2000 pixels, and within the screen's available size.
    static QSize RestoredSize(
        std::string_view stored, const QSize& minimum, const QSize& available);
    static std::string FormatSize(const QSize& size);
    // Where a window's frame goes so that it lies on the available area, or at least its top
    // left corner with the title bar does.
    static QPoint FramePosition(const QRect& frame, const QRect& available);

private:
    struct CRecord {
        QPointer<QWidget> pControl;
        QRect rect;
    };

    const CRecord* Find(int id) const;
    void SqueezeLeftButtons(int id, int dx, int& left, int& right) const;
    QWidget* Control(int id) const;

    std::array<CRecord, 13> m_records;
};
