// CMyHyoCom: routines shared by every table window, starting with the 16 + 16 colour palette.
#pragma once

#include <cstdint>

// Colours are 0xRRGGBB so that printing and the dialogs can use them without the view.
class CMyHyoCom {
public:
    static constexpr int PaletteSize = 16;

    // Indices 0..31 pass the range test; 16..31 have no colour of their own and read as the
    // out-of-range defaults (white background, black text).
    static bool isColourIndex(int index) { return index >= 0 && index <= 31; }
    uint32_t backgroundColour(int index) const;
    uint32_t textColour(int index) const;
};
