// A rectangle in window client pixels: left and top inclusive, right and bottom exclusive.
#pragma once

struct PanelRect {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0; // exclusive
};

inline int rectWidth(const PanelRect& r) {
    return r.right - r.left;
}
inline int rectHeight(const PanelRect& r) {
    return r.bottom - r.top;
}
