#pragma once

#include <optional>

namespace zorneta {

// Window units: twips, 1/1440 of an inch. A screen of `dpi` logical dots per
// inch has dpi / 1440 pixels per twip.
inline constexpr int TwipsPerInch = 1440;
int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

// A control's place in the main window's inner area, in twips.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipRect &) const = default;
};

// The main window's layout rule: the toolbar at the top, the status bar at
// the bottom, the chart filling the band between them, the digital indicator
// column at the left of the band when it is shown, and the small controls
// pinned to the lower right edge over the chart band.
//
// Everything is in twips. A control whose computed width or height would be
// negative (a minimised or tiny window) gets no new place (nullopt) and keeps
// the one it had.
struct WindowLayout {
    // Fixed sizes of the controls the rule places.
    static constexpr int IndicatorWidth = 850;
    static constexpr int RefreshWidth = 930;
    static constexpr int RefreshHeight = 335;
    static constexpr int PointTextWidth = 2800;
    static constexpr int PointTextHeight = 195;
    // Offsets below the chart band's height of the bottom-right controls.
    static constexpr int ClearButtonOffset = 105;
    static constexpr int RefreshOffset = 90;
    static constexpr int PointTextOffset = 160;
    static constexpr int RightEdgeOffset = 30;

    struct Input {
        int toolbarHeight = 0;   // Ht
        int statusBarHeight = 0; // Hs
        int outerWidth = 0;      // W
        int innerWidth = 0;      // SW
        int innerHeight = 0;     // SH
        int clearButtonHeight = 0;
        int frameWidth = 0; // the port-state frame
        bool indicatorShown = true;
    };
    struct Result {
        std::optional<TwipRect> chart;
        // The indicator column; nullopt also when it is hidden.
        std::optional<TwipRect> indicator;
        int clearButtonTop = 0;
        std::optional<TwipRect> refresh;
        std::optional<TwipRect> pointText;
        int frameLeft = 0;
    };

    static Result place(const Input &in);
};

} // namespace zorneta
