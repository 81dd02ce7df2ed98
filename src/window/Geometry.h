#pragma once

// Sizes and rectangles in pixels of a window's client area, as both faces measure them.
struct SSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const SSize&, const SSize&) = default;
};

struct SPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const SPoint&, const SPoint&) = default;
};

struct SRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    SSize Size() const { return { width, height }; }
    friend bool operator==(const SRect&, const SRect&) = default;
};
