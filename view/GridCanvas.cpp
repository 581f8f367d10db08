// GridCanvas: pixel-level fills, lines and cached-glyph text for the grid's off-screen image.
#include "view/GridCanvas.h"

#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <string>

namespace {

constexpr int GlyphPad = 3;   // room around a glyph for strokes that pass its advance box

inline uint32_t opaque(QRgb colour) { return 0xff000000u | (colour & 0x00ffffffu); }

// colour over the pixel with coverage alpha (0..255), two channels at a time.
inline uint32_t mix(uint32_t pixel, uint32_t colour, uint32_t alpha) {
    const uint32_t inverse = 255 - alpha;
    uint32_t rb = (colour & 0xff00ff) * alpha + (pixel & 0xff00ff) * inverse + 0x800080;
    rb = ((rb + ((rb >> 8) & 0xff00ff)) >> 8) & 0xff00ff;
    uint32_t g = (colour & 0xff00) * alpha + (pixel & 0xff00) * inverse + 0x8000;
    g = ((g + ((g >> 8) & 0xff00)) >> 8) & 0xff00;
    return 0xff000000u | rb | g;
}

QString unicodeOf(unsigned code) {
    if (code < 0x80) return QString(QChar(static_cast<ushort>(code)));
    if (code >= 0xA1 && code <= 0xDF) return QString(QChar(static_cast<ushort>(0xFF61 + code - 0xA1)));
    std::string bytes;
    if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
    bytes.push_back(static_cast<char>(code & 0xFF));
    std::u16string utf16;
    CodePage::cp932ToUtf16(bytes, utf16);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

} // namespace

GridCanvas::GridCanvas() : glyphSlot_(0x10000, -1) {}

void GridCanvas::resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width_ == width && height_ == height) return;
    width_ = width;
    height_ = height;
    makeImage();
}

void GridCanvas::setDevicePixelRatio(double ratio) {
    if (!(ratio > 0)) ratio = 1.0;
    if (ratio == ratio_) return;
    ratio_ = ratio;
    makeImage();
    setFont(font_);
}

void GridCanvas::makeImage() {
    image_ = QImage(std::max(toDevice(width_), 1), std::max(toDevice(height_), 1),
                    QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio_);
    image_.fill(Qt::white);
    beginDrawing();
}

void GridCanvas::beginDrawing() {
    bits_ = reinterpret_cast<uint32_t*>(image_.bits());
    stride_ = static_cast<int>(image_.bytesPerLine() / 4);
}

void GridCanvas::setFont(const QFont& font) {
    font_ = font;
    QFontMetrics metrics(font_);
    ascent_ = metrics.ascent();
    textHeight_ = metrics.height();
    deviceFont_ = font_;
    if (ratio_ != 1.0) {
        if (font_.pixelSize() > 0) deviceFont_.setPixelSize(qRound(font_.pixelSize() * ratio_));
        else deviceFont_.setPointSizeF(font_.pointSizeF() * ratio_);
    }
    deviceAscent_ = QFontMetrics(deviceFont_).ascent();
    std::fill(glyphSlot_.begin(), glyphSlot_.end(), -1);
    glyphs_.clear();
    masks_.clear();
}

void GridCanvas::fillDevice(int x1, int y1, int x2, int y2, uint32_t value) {
    x1 = std::max(x1, 0), x2 = std::min(x2, image_.width());
    y1 = std::max(y1, 0), y2 = std::min(y2, image_.height());
    for (int row = y1; row < y2 && x1 < x2; ++row) std::fill(line(row) + x1, line(row) + x2, value);
}

void GridCanvas::fillRect(int x, int y, int w, int h, QRgb colour) {
    int x1 = std::max(x, 0), x2 = std::min(x + w, width());
    int y1 = std::max(y, 0), y2 = std::min(y + h, height());
    if (x1 >= x2 || y1 >= y2) return;
    fillDevice(toDevice(x1), toDevice(y1), toDevice(x2), toDevice(y2), opaque(colour));
}

void GridCanvas::horizontalLine(int x1, int x2, int y, QRgb colour) {
    fillRect(x1, y, x2 - x1, 1, colour);
}

void GridCanvas::verticalLine(int x, int y1, int y2, QRgb colour) {
    fillRect(x, y1, 1, y2 - y1, colour);
}

// Dots fall on every other logical pixel, each as big as a logical pixel.
void GridCanvas::dottedHorizontalLine(int x1, int x2, int y, QRgb colour) {
    if (y < 0 || y >= height()) return;
    for (int x = std::max(x1, 0); x < std::min(x2, width()); ++x)
        if (((x - x1) & 1) == 0) fillRect(x, y, 1, 1, colour);
}

void GridCanvas::dottedVerticalLine(int x, int y1, int y2, QRgb colour) {
    if (x < 0 || x >= width()) return;
    for (int y = std::max(y1, 0); y < std::min(y2, height()); ++y)
        if (((y - y1) & 1) == 0) fillRect(x, y, 1, 1, colour);
}

void GridCanvas::line(int x1, int y1, int x2, int y2, QRgb colour) {
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    while (x1 != x2 || y1 != y2) {
        fillRect(x1, y1, 1, 1, colour);
        const int doubled = 2 * error;
        if (doubled >= dy) { error += dy; x1 += sx; }
        if (doubled <= dx) { error += dx; y1 += sy; }
    }
}

unsigned GridCanvas::characterCode(const char* text, int length, int i, int& bytes) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (CodePage::isLeadByte(lead) && i + 1 < length && text[i + 1] != '\0') {
        bytes = 2;
        return (lead << 8) | static_cast<unsigned char>(text[i + 1]);
    }
    bytes = 1;
    return lead;
}

int GridCanvas::textWidth(const char* text, int length) {
    int total = 0;
    for (int i = 0, bytes = 1; i < length; i += bytes)
        total += glyph(characterCode(text, length, i, bytes)).advance;
    return total;
}

int GridCanvas::drawText(int x, int y, const char* text, int length, QRgb colour, int clipLeft,
                         int clipRight, int clipTop, int clipBottom) {
    // The clip is logical; glyph masks and their offsets are in device pixels.
    const int deviceLeft = toDevice(std::max(clipLeft, 0));
    const int deviceRight = std::min(toDevice(std::min(clipRight, width())), image_.width());
    const int deviceTop = toDevice(std::max(clipTop, 0));
    const int deviceBottom = std::min(toDevice(std::min(clipBottom, height())), image_.height());
    const int lineTop = toDevice(y);
    const uint32_t solid = opaque(colour);
    int penX = x;
    for (int i = 0, bytes = 1; i < length; i += bytes) {
        const Glyph& g = glyph(characterCode(text, length, i, bytes));
        const int left = toDevice(penX) + g.left, top = lineTop + g.top;
        const int from = std::max(left, deviceLeft), to = std::min(left + g.width, deviceRight);
        const int last = std::min(top + g.height, deviceBottom);
        for (int row = std::max(top, deviceTop); from < to && row < last; ++row) {
            uint32_t* pixels = line(row);
            const uint8_t* alpha = masks_.data() + g.offset + (row - top) * g.width;
            for (int px = from; px < to; ++px) {
                const uint32_t a = alpha[px - left];
                if (a == 255) pixels[px] = solid;
                else if (a) pixels[px] = mix(pixels[px], solid, a);
            }
        }
        penX += g.advance;
    }
    return penX - x;
}

const GridCanvas::Glyph& GridCanvas::glyph(unsigned code) {
    int32_t& slot = glyphSlot_[code & 0xFFFF];
    if (slot < 0) {
        glyphs_.push_back(rasterise(code));
        slot = static_cast<int32_t>(glyphs_.size() - 1);
    }
    return glyphs_[slot];
}

// Draws the character once with Qt (font fallback included) and keeps its coverage at the
// device resolution; the advance stays logical, so layout does not depend on the screen.
GridCanvas::Glyph GridCanvas::rasterise(unsigned code) {
    const QString character = unicodeOf(code);
    QFontMetrics metrics(deviceFont_);
    Glyph result;
    result.advance = QFontMetrics(font_).horizontalAdvance(character);
    // A lent code is a double-byte character like any other: it takes a full-width cell,
    // whatever the fallback font that draws it says.
    if (GivenCodes::isGiven(static_cast<uint16_t>(code))) result.advance = QFontMetrics(font_).horizontalAdvance(QChar(0x3042));
    const int boxWidth = metrics.horizontalAdvance(character) + 2 * GlyphPad + metrics.maxWidth();
    const int boxHeight = metrics.height() + 2 * GlyphPad;
    QImage box(std::max(boxWidth, 1), std::max(boxHeight, 1), QImage::Format_ARGB32_Premultiplied);
    box.fill(Qt::transparent);
    {
        QPainter painter(&box);
        painter.setFont(deviceFont_);
        painter.setPen(Qt::white);
        painter.drawText(GlyphPad, GlyphPad + deviceAscent_, character);
    }
    int minX = box.width(), maxX = -1, minY = box.height(), maxY = -1;
    for (int y = 0; y < box.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(box.constScanLine(y));
        for (int x = 0; x < box.width(); ++x) {
            if (qAlpha(line[x]) == 0) continue;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    }
    if (maxX < 0) return result;   // blank character: advance only
    result.left = minX - GlyphPad;
    result.top = minY - GlyphPad;
    result.width = maxX - minX + 1;
    result.height = maxY - minY + 1;
    result.offset = static_cast<uint32_t>(masks_.size());
    for (int y = minY; y <= maxY; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(box.constScanLine(y));
        for (int x = minX; x <= maxX; ++x) masks_.push_back(static_cast<uint8_t>(qAlpha(line[x])));
    }
    return result;
}
