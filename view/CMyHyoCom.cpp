// CMyHyoCom: the palette of background and text colours addressed by colour index.
#include "view/CMyHyoCom.h"

namespace {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

constexpr uint32_t Backgrounds[CMyHyoCom::PaletteSize] = {
    rgb(0, 0, 0),       rgb(230, 30, 30),   rgb(30, 230, 30),   rgb(250, 250, 50),
    rgb(50, 50, 255),   rgb(220, 50, 220),  rgb(0, 200, 200),   rgb(125, 125, 125),
    rgb(180, 180, 180), rgb(255, 150, 150), rgb(150, 255, 150), rgb(255, 255, 150),
    rgb(180, 180, 255), rgb(255, 150, 255), rgb(150, 240, 255), rgb(255, 255, 255)};

constexpr uint32_t Texts[CMyHyoCom::PaletteSize] = {
    rgb(0, 0, 0),       rgb(150, 0, 0),     rgb(0, 150, 0),     rgb(150, 150, 0),
    rgb(0, 0, 150),     rgb(150, 0, 150),   rgb(0, 150, 150),   rgb(125, 125, 125),
    rgb(180, 180, 180), rgb(255, 50, 50),   rgb(50, 240, 50),   rgb(225, 225, 0),
    rgb(50, 50, 255),   rgb(255, 100, 255), rgb(100, 255, 255), rgb(255, 255, 255)};

} // namespace

uint32_t CMyHyoCom::backgroundColour(int index) const {
    if (index < 0 || index >= PaletteSize) return rgb(255, 255, 255);
    return Backgrounds[index];
}

uint32_t CMyHyoCom::textColour(int index) const {
    if (index < 0 || index >= PaletteSize) return rgb(0, 0, 0);
    return Texts[index];
}
