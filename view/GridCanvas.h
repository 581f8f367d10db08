// GridCanvas: direct drawing into the grid's off-screen image - fills, lines and CP932 text.
#pragma once

#include <QFont>
#include <QImage>
#include <QRgb>

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

// The grid draws thousands of small rectangles, lines and short texts per render. Going
// through QPainter for each costs a microsecond or more, and shaping every cell's text costs
// far more, so the view writes pixels itself: solid spans, and glyphs rasterised once per
// character into alpha masks and blended from then on. Text arrives as CP932 bytes and is
// keyed by its CP932 code, so no cell is ever converted to a QString.
//
// Every coordinate and size the view passes is in logical pixels. On a scaled screen the image
// holds device pixels (logical x times the ratio), so lines, fills and glyphs are drawn at the
// screen's own resolution instead of being enlarged afterwards.
class GridCanvas {
public:
    GridCanvas();

    // The image is 32-bit RGB; its contents survive a resize only when the size is unchanged.
    void resize(int width, int height);
    // Device pixels per logical pixel; a change makes a fresh (white) image and new glyphs.
    void setDevicePixelRatio(double ratio);
    double devicePixelRatio() const { return ratio_; }
    // First device pixel of logical coordinate v (Qt's own rounding of aliased edges).
    int toDevice(int v) const {
        return ratio_ == 1.0 ? v : static_cast<int>(std::ceil(v * ratio_ - 0.5));
    }
    // Call before drawing: makes sure the image is not shared with a copy handed out earlier.
    void beginDrawing();
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    // Logical size.
    int width() const { return width_; }
    int height() const { return height_; }

    void setFont(const QFont& font);
    const QFont& font() const { return font_; }
    int ascent() const { return ascent_; }
    // Height of a text line as the font reports it (ascent + descent).
    int textHeight() const { return textHeight_; }

    // Half-open rectangles and spans: [x, x + w) and so on; everything clips to the image.
    void fillRect(int x, int y, int w, int h, QRgb colour);
    void horizontalLine(int x1, int x2, int y, QRgb colour);   // pixels x1 .. x2 - 1
    void verticalLine(int x, int y1, int y2, QRgb colour);     // pixels y1 .. y2 - 1
    void dottedHorizontalLine(int x1, int x2, int y, QRgb colour);
    void dottedVerticalLine(int x, int y1, int y2, QRgb colour);
    // A 1-pixel line from (x1, y1) towards (x2, y2), the end point itself left out.
    void line(int x1, int y1, int x2, int y2, QRgb colour);

    // Width in pixels of CP932 text (length bytes; double-byte characters count as one).
    int textWidth(const char* text, int length);
    // Draws CP932 text with the top of its line at y; pixels outside [clipLeft, clipRight) x
    // [clipTop, clipBottom) are not touched. Returns the width of the text.
    int drawText(int x, int y, const char* text, int length, QRgb colour,
                 int clipLeft = INT_MIN, int clipRight = INT_MAX, int clipTop = INT_MIN,
                 int clipBottom = INT_MAX);

private:
    struct Glyph {
        int advance = 0;
        int left = 0;      // offset of the mask from the pen position
        int top = 0;       // offset of the mask from the line top
        int width = 0;
        int height = 0;
        uint32_t offset = 0;   // into masks_
    };

    // Code of the character at text[i] and how many bytes it takes.
    static unsigned characterCode(const char* text, int length, int i, int& bytes);
    const Glyph& glyph(unsigned code);
    Glyph rasterise(unsigned code);
    uint32_t* line(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
    // Fills device pixels [x1, x2) x [y1, y2), clipped to the image.
    void fillDevice(int x1, int y1, int x2, int y2, uint32_t value);
    void makeImage();

    QImage image_;
    uint32_t* bits_ = nullptr;
    int stride_ = 0;   // in pixels
    int width_ = 0, height_ = 0;   // logical
    double ratio_ = 1.0;
    QFont font_;
    QFont deviceFont_;   // font_ at the device resolution: the glyphs are made from it
    int deviceAscent_ = 0;
    int ascent_ = 0;
    int textHeight_ = 0;
    std::vector<int32_t> glyphSlot_;   // CP932 code -> index into glyphs_, -1 not yet made
    std::vector<Glyph> glyphs_;
    std::vector<uint8_t> masks_;
};
