#include "chart/WindowLayout.h"

#include <cmath>

namespace zorneta {

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / TwipsPerInch));
}

int PixelsToTwips(int pixels, double dpi) {
    if (dpi <= 0.0)
        return 0;
    return static_cast<int>(std::lround(pixels * TwipsPerInch / dpi));
}

namespace {

std::optional<TwipRect> placed(int left, int top, int width, int height) {
    if (width < 0 || height < 0)
        return std::nullopt;
    return TwipRect{left, top, width, height};
}

} // namespace

WindowLayout::Result WindowLayout::place(const Input &in) {
    Result r;
    // The band between the toolbar and the status bar.
    const int band = in.innerHeight - in.statusBarHeight - in.toolbarHeight;
    if (in.indicatorShown) {
        r.chart = placed(IndicatorWidth, in.toolbarHeight, in.outerWidth - IndicatorWidth, band);
        r.indicator = placed(0, in.toolbarHeight, IndicatorWidth, band - in.clearButtonHeight);
    } else {
        r.chart = placed(0, in.toolbarHeight, in.outerWidth, band);
    }
    r.clearButtonTop = band + ClearButtonOffset;
    r.refresh =
        placed(in.innerWidth - RefreshWidth + RightEdgeOffset, band + RefreshOffset, RefreshWidth, RefreshHeight);
    r.pointText = placed(in.innerWidth - RefreshWidth - PointTextWidth + RightEdgeOffset, band + PointTextOffset,
                         PointTextWidth, PointTextHeight);
    r.frameLeft = in.innerWidth - in.frameWidth * 3 / 2;
    return r;
}

} // namespace zorneta
