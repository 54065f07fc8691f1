#include "ui/LayoutMath.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

// Maximum first, then minimum: a minimum larger than the maximum wins.
int Clamp(int value, int minimum, int maximum) {
    return std::max(std::min(value, maximum), minimum);
}

// Coordinates stay far inside int, whatever sizes a skin asks for.
constexpr long long kCoordinateLimit = 1LL << 29;

int Saturate(long long value) {
    return static_cast<int>(std::max(std::min(value, kCoordinateLimit), -kCoordinateLimit));
}

int Saturate(double value) {
    const double limit = static_cast<double>(kCoordinateLimit);
    if (!(value > -limit)) {  // also catches NaN
        return static_cast<int>(-kCoordinateLimit);
    }
    return static_cast<int>(std::min(std::floor(value), limit));
}

// Sizes along and across an axis, so one routine serves both box layouts.
struct AxisView {
    bool vertical;
    int Main(const IntRect& r) const { return vertical ? r.Height() : r.Width(); }
    int Cross(const IntRect& r) const { return vertical ? r.Width() : r.Height(); }
    int MainStart(const IntRect& r) const { return vertical ? r.top : r.left; }
    int CrossStart(const IntRect& r) const { return vertical ? r.left : r.top; }
    int FixedMain(const LayoutItem& i) const { return vertical ? i.fixedHeight : i.fixedWidth; }
    int FixedCross(const LayoutItem& i) const { return vertical ? i.fixedWidth : i.fixedHeight; }
    int MinMain(const LayoutItem& i) const { return vertical ? i.minHeight : i.minWidth; }
    int MinCross(const LayoutItem& i) const { return vertical ? i.minWidth : i.minHeight; }
    int MaxMain(const LayoutItem& i) const { return vertical ? i.maxHeight : i.maxWidth; }
    int MaxCross(const LayoutItem& i) const { return vertical ? i.maxWidth : i.maxHeight; }
    IntRect Make(long long mainPos, long long crossPos, int mainSize, int crossSize) const {
        const int m0 = Saturate(mainPos);
        const int m1 = Saturate(mainPos + mainSize);
        const int c0 = Saturate(crossPos);
        const int c1 = Saturate(crossPos + crossSize);
        return vertical ? IntRect{c0, m0, c1, m1} : IntRect{m0, c0, m1, c1};
    }
};

}  // namespace

IntRect ShrinkRect(const IntRect& rect, const IntRect& inset) {
    IntRect r{Saturate(static_cast<long long>(rect.left) + inset.left),
              Saturate(static_cast<long long>(rect.top) + inset.top),
              Saturate(static_cast<long long>(rect.right) - inset.right),
              Saturate(static_cast<long long>(rect.bottom) - inset.bottom)};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

std::vector<IntRect> LayoutBox(const BoxLayoutParams& params,
                               const std::vector<LayoutItem>& items) {
    std::vector<IntRect> placed(items.size());
    const AxisView axis{params.axis == LayoutAxis::kVertical};
    const IntRect area = ShrinkRect(params.rect, params.inset);
    const int padding = std::max(params.childPadding, 0);

    long long fixedTotal = 0;
    int flowCount = 0;
    int flexibleCount = 0;
    for (const LayoutItem& item : items) {
        if (!item.visible || item.floating) {
            continue;
        }
        ++flowCount;
        if (axis.FixedMain(item) > 0) {
            fixedTotal += Clamp(axis.FixedMain(item), axis.MinMain(item), axis.MaxMain(item));
        } else {
            ++flexibleCount;
        }
    }
    if (flowCount == 0) {
        return placed;
    }

    const long long free =
        axis.Main(area) - fixedTotal - static_cast<long long>(flowCount - 1) * padding;
    const int remaining = static_cast<int>(std::max(free, 0LL));
    const int share = flexibleCount > 0 ? remaining / flexibleCount : 0;
    const int crossArea = axis.Cross(area);

    long long position = axis.MainStart(area);
    int flexibleSeen = 0;
    long long flexibleUsed = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const LayoutItem& item = items[i];
        if (!item.visible || item.floating) {
            continue;
        }
        int size;
        if (axis.FixedMain(item) > 0) {
            size = Clamp(axis.FixedMain(item), axis.MinMain(item), axis.MaxMain(item));
        } else {
            ++flexibleSeen;
            // The last flexible item takes whatever the others left.
            size = flexibleSeen == flexibleCount
                       ? static_cast<int>(std::max(remaining - flexibleUsed, 0LL))
                       : share;
            size = std::max(Clamp(size, axis.MinMain(item), axis.MaxMain(item)), 0);
            flexibleUsed += size;
        }

        int cross = axis.FixedCross(item) > 0 ? axis.FixedCross(item) : crossArea;
        cross = std::min(std::min(cross, axis.MaxCross(item)), crossArea);
        cross = std::max(cross, axis.MinCross(item));
        long long crossPos = axis.CrossStart(area);
        if (params.crossAlign == CrossAlign::kCenter) {
            crossPos += (crossArea - cross) / 2;
        } else if (params.crossAlign == CrossAlign::kEnd) {
            crossPos += crossArea - cross;
        }

        placed[i] = axis.Make(position, crossPos, size, cross);
        position += static_cast<long long>(size) + padding;
    }
    return placed;
}

IntRect PlaceInArea(const IntRect& area, const LayoutItem& item) {
    int width = item.fixedWidth > 0 ? item.fixedWidth : area.Width();
    int height = item.fixedHeight > 0 ? item.fixedHeight : area.Height();
    width = std::max(std::min(std::min(width, item.maxWidth), area.Width()), item.minWidth);
    height = std::max(std::min(std::min(height, item.maxHeight), area.Height()), item.minHeight);
    return IntRect{area.left, area.top, area.left + width, area.top + height};
}

IntRect PlaceFloating(const IntRect& parent, const IntRect& pos, const LayoutItem& item,
                      const FloatAnchors* anchors) {
    double left = static_cast<double>(parent.left) + pos.left;
    double top = static_cast<double>(parent.top) + pos.top;
    double right = static_cast<double>(parent.left) + pos.right;
    double bottom = static_cast<double>(parent.top) + pos.bottom;
    if (anchors != nullptr) {
        const double width = parent.Width();
        const double height = parent.Height();
        left += std::floor(anchors->left * width);
        top += std::floor(anchors->top * height);
        right += std::floor(anchors->right * width);
        bottom += std::floor(anchors->bottom * height);
    }
    IntRect r{Saturate(left), Saturate(top), Saturate(right), Saturate(bottom)};
    if (item.fixedWidth > 0) {
        r.right = Saturate(static_cast<long long>(r.left) + item.fixedWidth);
    }
    if (item.fixedHeight > 0) {
        r.bottom = Saturate(static_cast<long long>(r.top) + item.fixedHeight);
    }
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

}  // namespace SkinUI
