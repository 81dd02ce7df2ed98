#pragma once

#include "window/Geometry.h"

#include <array>
#include <string>
#include <string_view>

class IWindowView;

// The main window's layout: where each anchored control stood at the template size, and how
// it moves when the window is larger than that or the price list pane is hidden.
class CControlAnchors {
public:
    // Records each anchored control's current rectangle; a control without one (an empty
    // rectangle: the face has no such control) stays unrecorded and is never moved.
    void Capture(const IWindowView& view);

    // Where a recorded control belongs when the window exceeds its minimum size by dx, dy;
    // empty for a control that was not recorded.
    SRect AnchoredRect(int id, int dx, int dy, bool paneShown) const;
    // Places every recorded control there.
    void RecalcLayout(IWindowView& view, int dx, int dy, bool paneShown) const;

    // Shows or hides the pane and the Details button. The edits go back to the given
    // rectangles; with the pane hidden they reach as far right as the pane reaches now.
    void ShowPriceList(
        IWindowView& view, bool show, const SRect& rcInput, const SRect& rcReport) const;

    // The stored "width,height": each number that reads replaces the minimum, then both are
    // kept between the minimum and 2000 pixels, and within the screen's available size.
    static SSize RestoredSize(std::string_view stored, SSize minimum, SSize available);
    static std::string FormatSize(SSize size);
    // Where a window's frame goes so that it lies on the available area, or at least its top
    // left corner with the title bar does.
    static SPoint FramePosition(const SRect& frame, const SRect& available);

    static constexpr std::size_t kAnchoredControls = 13;

private:
    struct SRecord {
        bool bRecorded = false;
        SRect rect;
    };

    const SRecord* Find(int id) const;
    void SqueezeLeftButtons(int id, int dx, int& left, int& right) const;

    std::array<SRecord, kAnchoredControls> m_records;
};
