// Float-to-int conversions and index clamps that stay defined whatever a damaged song holds.
#pragma once

#include <climits>

// Truncates toward zero like static_cast<int>, but NaN gives 0 and values beyond the int range
// saturate at INT_MIN or INT_MAX instead of being undefined.
inline int truncToInt(double v) {
    if (!(v == v)) return 0; // NaN
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

// Truncates toward zero and clamps into lo..hi; NaN gives lo.
inline int truncClamped(double v, int lo, int hi) {
    if (!(v == v)) return lo;
    if (v <= lo) return lo;
    if (v >= hi) return hi;
    return static_cast<int>(v);
}

// Clamps an int into lo..hi.
inline int clampInt(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// True for an index 0..count-1.
inline bool inRange(int v, int count) {
    return v >= 0 && v < count;
}

// True unless v is NaN or infinite.
inline bool isFiniteValue(double v) {
    return v == v && v - v == 0.0;
}

// v mod count in 0..count-1 for any v, also negative (count > 0).
inline int wrapIndex(long long v, int count) {
    long long r = v % count;
    return static_cast<int>(r < 0 ? r + count : r);
}
