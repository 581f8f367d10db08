// CMyEdit: the in-cell editor's box over the grid - geometry, drawing, caret, mouse, clipboard
// and the input method around its text (EditText).
#include "editor/CMyEdit.h"

#include "editor/EditSurface.h"
#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "platform/core/Prompt.h"
#include "view/CMyHyoDraw.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int PasteLimit = 5001;          // clipboard text plus the edit must stay below this
constexpr int CopyLimit = 1000000;        // largest selection the editor puts on the clipboard

// The fixed-pitch Japanese gothic the grid uses, by what this machine has.
bool isLead(char c) { return CodePage::isLeadByte(static_cast<unsigned char>(c)); }

QString toUnicode(std::string_view cp932) {
    std::u16string wide;
    CodePage::cp932ToUtf16(cp932, wide);
    return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

// CP932 bytes of one character, or empty when CP932 has no such character.
std::string characterToCp932(QStringView character) {
    std::u16string wide(reinterpret_cast<const char16_t*>(character.data()),
                        static_cast<size_t>(character.size()));
    std::string bytes;
    int lost = CodePage::utf16ToCp932(wide, bytes);
    // A character that comes back as a near twin (WAVE DASH) is kept; a "?" stand-in is not.
    if (lost > 0 && bytes == "?" && character != QLatin1Char('?')) return {};
    return bytes;
}

// Hands `take` the CP932 bytes of each character of the text in turn (empty when CP932 has no
// such character) until it returns false.
template <class Take>
void eachCharacter(const QString& text, Take take) {
    for (qsizetype i = 0; i < text.size();) {
        qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!take(characterToCp932(QStringView(text).mid(i, n)))) return;
        i += n;
    }
}

// Clipboard text as CP932, leaving out characters CP932 cannot hold; `refused` counts them.
std::string clipboardToCp932(const QString& text, int& refused) {
    std::string out;
    refused = 0;
    eachCharacter(text, [&](const std::string& bytes) {
        if (bytes.empty()) ++refused;
        out += bytes;
        return true;
    });
    return out;
}

// Bytes the text takes once pasted: it ends at a NUL and every line break (CR LF, CR or a
// lone LF, as this platform's clipboard has them) becomes CR LF.
long pastedLength(const std::string& text) {
    long length = 0;
    for (size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        length += text[i] == '\r' || text[i] == '\n' ? 2 : 1;
    }
    return length;
}

}  // namespace

CMyEdit::CMyEdit() {
    connect(&blinkTimer, &QTimer::timeout, this, [this] { blink(); });
    setScale(100);
}

CMyEdit::~CMyEdit() {
    if (owner) owner->removeEventFilter(this);
    delete surface;   // it paints through this editor, so it must not outlive it
}

void CMyEdit::attach(QWidget* widget) {
    owner = widget;
    surface = new EditSurface(this, widget);
    widget->setAttribute(Qt::WA_InputMethodEnabled, true);
    widget->installEventFilter(this);
    QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    QSize size = screen ? screen->size() : QSize(1920, 1080);
    bitmap = QImage(size * widget->devicePixelRatioF(), QImage::Format_RGB32);
    bitmap.setDevicePixelRatio(widget->devicePixelRatioF());
    bitmap.fill(Qt::white);
}

QWidget* CMyEdit::surfaceWidget() const { return surface; }

void CMyEdit::setScale(int percent) {
    scalePercent = percent;
    editorFont = QFont(CMyHyoDraw::fontFamily());
    editorFont.setPixelSize(std::max(1, 12 * percent / 100));
    editorFont.setFixedPitch(true);
    editorFont.setStyleHint(QFont::Monospace);
    editorFont.setKerning(false);
    measureFont();
    if (active) refresh();
}

void CMyEdit::measureFont() {
    QFontMetrics metrics(editorFont);
    cellWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('W')));
    cellHeight = std::max(1, metrics.height());
    fontAscent = metrics.ascent();
    pitch = cellHeight + 2;
    // With a metric-compatible font a whole run can be drawn at once and still meet the columns.
    fontCellExact = metrics.horizontalAdvance(QStringLiteral("i.W")) == 3 * cellWidth &&
                    metrics.horizontalAdvance(QString::fromUtf8("あ漢")) == 4 * cellWidth &&
                    metrics.horizontalAdvance(QString::fromUtf8("ｱ")) == cellWidth;
}

// ---------------------------------------------------------------------------------------
// Opening and closing

void CMyEdit::setupBox(int x, int y, int width, int height, int maxW, int maxH, int flags) {
    const bool rightAligned = (flags & FlagRightAligned) != 0;
    text_.reset(rightAligned);
    boxLeft = rightAligned ? x : x + 2;
    boxTop = y + 1;
    boxWidth = std::max(1, rightAligned ? width - 5 : width - 3);
    if (rightAligned) maxW = boxWidth;
    boxHeight = std::max(height - 2, cellHeight);
    maxWidth = std::max(maxW, boxWidth);
    maxHeight = std::max(maxH, boxHeight);
    hScroll = topLine = caretRow = 0;
    updateVisibleCounts();
}

void CMyEdit::updateVisibleCounts() {
    visibleColumns = std::max(1, boxWidth / cellWidth);
    visibleLines = std::max(1, (boxHeight + 2) / pitch);
}

// A text whose lines are wider than the box widens it as far as it may grow.
bool CMyEdit::loadText(const char* text) {
    if (!text_.load(text)) return false;
    widenFor(text_.longestLine() - 1);
    return true;
}

int CMyEdit::open(int x, int y, int width, int height, int maxW, int maxH, const char* text,
                  int flags, int byteLimit) {
    setupBox(x, y, width, height, maxW, maxH, flags);
    if (!loadText(text)) {
        active = false;
        return -1;
    }
    active = true;
    text_.begin((flags & FlagTyping) != 0, (flags & FlagCaretAtEnd) != 0);
    mouseSelecting = false;
    text_.setLimit(byteLimit);
    caretBlinkOn = true;
    int flash = QApplication::cursorFlashTime();
    if (flash > 0) blinkTimer.start(flash / 2);
    refresh();
    return 0;
}

void CMyEdit::position(int x, int y, int width, int height, const char* text, int flags) {
    if (active) return;
    setupBox(x, y, width, height, 0, 0, flags);
    if (!loadText(text)) loadText("");
    text_.begin((flags & FlagTyping) != 0, (flags & FlagCaretAtEnd) != 0);
    updateSurfaceGeometry();
    if (QGuiApplication::inputMethod()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void CMyEdit::close() {
    text_.finish();
    mouseSelecting = false;
    caretShown = false;
    active = false;
    preedit.clear();
    blinkTimer.stop();
    if (surface) surface->hide();
}

// ---------------------------------------------------------------------------------------
// Growing the box

// A line grew to `length` bytes: the box widens to hold it (and the caret after it).
void CMyEdit::widenFor(int length) {
    const int longestLine = std::max(text_.longestLine(), length + 1);
    if (longestLine * cellWidth > boxWidth && boxWidth < maxWidth) {
        boxWidth = std::min(longestLine * cellWidth, maxWidth);
        updateVisibleCounts();
    }
}

// After a line was added: one more line pitch when the lines no longer fit.
void CMyEdit::growForLines(bool unlimited) {
    if (lineCount() <= visibleLines) return;
    if (!unlimited && boxHeight + pitch >= maxHeight) return;
    boxHeight += pitch;
    updateVisibleCounts();
}

void CMyEdit::deleteSelection() {
    text_.deleteSelection();
    if (active) refresh();
}

// ---------------------------------------------------------------------------------------
// Keys

int CMyEdit::keyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (!active) return KeyHandled;
    const EditText::KeyStep step = text_.keyDown(key, modifiers);
    if (step.lineAdded) growForLines(true);
    if (step.close) close();
    else if (step.redraw) refresh();
    return step.result;
}

// ---------------------------------------------------------------------------------------
// Characters

void CMyEdit::character(unsigned char byte) {
    if (isLead(static_cast<char>(byte))) return;   // no trail byte follows: dropped
    typeBytes(std::string_view(reinterpret_cast<const char*>(&byte), 1));
}

void CMyEdit::typeBytes(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (CodePage::isLeadByte(c)) {
            if (i + 1 < bytes.size()) typeDouble(c, static_cast<unsigned char>(bytes[++i]));
            continue;
        }
        typeSingle(c);
    }
}

bool CMyEdit::typeText(const QString& text) {
    bool allTaken = true;
    eachCharacter(text, [&](const std::string& bytes) {
        if (bytes.empty()) {
            Prompt::beep();
            allTaken = false;
        } else {
            typeBytes(bytes);
        }
        return true;
    });
    return allTaken;
}

bool CMyEdit::holdsTypeable(const QString& text) {
    bool typeable = false;
    eachCharacter(text, [&](const std::string& bytes) {
        typeable = !bytes.empty();
        return !typeable;
    });
    return typeable;
}

void CMyEdit::typeSingle(unsigned char byte) {
    if (active && text_.typeSingle(byte)) afterTyping();
}

void CMyEdit::typeDouble(unsigned char lead, unsigned char trail) {
    if (active && text_.typeDouble(lead, trail)) afterTyping();
}

void CMyEdit::afterTyping() {
    widenFor(text_.lineLength());
    refresh();
}

// ---------------------------------------------------------------------------------------
// Mouse

EditText::Point CMyEdit::pointAt(int x, int y) const {
    int line = std::clamp((y - boxTop) / pitch + topLine, 0, lineCount() - 1);
    const std::string& s = text_.lineText(line);
    int length = static_cast<int>(s.size());
    int column;
    if (x < boxLeft) {
        column = 0;
    } else if (x >= boxLeft + boxWidth) {
        column = length;
    } else if (text_.isRightAligned()) {
        column = length - hScroll - (boxLeft + boxWidth - x) / cellWidth;
    } else {
        column = (x - boxLeft) / cellWidth + hScroll;
    }
    return {line, EditText::boundaryAtOrBefore(s, column)};
}

bool CMyEdit::mouseDown(int x, int y) {
    if (!active) return false;
    QRect border(boxLeft - 2, boxTop - 1, boxWidth + 4, boxHeight + 2);
    if (!border.contains(x, y)) return false;
    text_.pressAt(pointAt(x, y));
    mouseSelecting = true;
    refresh();
    return true;
}

void CMyEdit::mouseMove(int x, int y) {
    if (!active || !mouseSelecting) return;
    text_.dragTo(pointAt(x, y));
    refresh();
}

void CMyEdit::mouseUp() {
    if (!active) return;
    mouseSelecting = false;
    placeCaret(true);
}

// ---------------------------------------------------------------------------------------
// Paste and the clipboard

void CMyEdit::pasteText(const char* text, int length) {
    if (!active) return;
    const int added = text_.paste(text, length);
    widenFor(text_.longestLine() - 1);
    if (added > 0) {
        for (int k = 0; k < added; ++k) {
            if (boxHeight + pitch >= maxHeight) break;
            boxHeight += pitch;
        }
        updateVisibleCounts();
    }
    refresh();
}

bool CMyEdit::copyToClipboard() {
    if (!hasSelection()) return false;
    if (selectedLength() > CopyLimit) {
        Prompt::warn("サイズをオーバーしました。1Mバイト以上のコピーはできません。");
        return false;
    }
    QGuiApplication::clipboard()->setText(toUnicode(selectedText()));
    return true;
}

bool CMyEdit::cutToClipboard() {
    if (!copyToClipboard()) return false;
    text_.cutSelection();
    if (active) refresh();
    return true;
}

void CMyEdit::pasteFromClipboard() {
    if (!active) return;
    QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        Prompt::beep();
        return;
    }
    int refused = 0;
    std::string bytes = clipboardToCp932(text, refused);
    if (refused > 0) Prompt::beep();
    if (pastedLength(bytes) + text_.totalLength() >= PasteLimit) {
        Prompt::warn("サイズをオーバーするためコピーはできません。");
        return;
    }
    pasteText(bytes.data(), static_cast<int>(bytes.size()));
}

// ---------------------------------------------------------------------------------------
// Scrolling, drawing and the caret

void CMyEdit::ensureCaretVisible() {
    text_.snapCaret();
    const int caret = text_.caretPosition();
    const int curLine = text_.currentLine();
    int length = text_.lineLength();
    if (text_.isRightAligned()) {
        // Work with the byte column shown at the box's left edge.
        int left = length - hScroll - visibleColumns;
        if (caret < left) left = caret;
        else if (caret > left + visibleColumns) left = caret - visibleColumns;
        // A line that got shorter never scrolls its start past the box's left edge.
        hScroll = std::clamp(length - visibleColumns - left, 0, std::max(0, length - visibleColumns));
    } else {
        if (caret < hScroll) hScroll = caret;
        else if (caret > hScroll + visibleColumns - 1) hScroll = caret - visibleColumns + 1;
        hScroll = std::max(0, hScroll);
    }
    if (curLine < topLine) topLine = curLine;
    else if (curLine >= topLine + visibleLines) topLine = curLine - visibleLines + 1;
    caretRow = curLine - topLine;
}

int CMyEdit::columnX(int offset, int length) const {
    return text_.isRightAligned() ? boxWidth - (length - hScroll - offset) * cellWidth
                        : (offset - hScroll) * cellWidth;
}

void CMyEdit::refresh() {
    ensureCaretVisible();
    renderBox();
    updateSurfaceGeometry();
    placeCaret(!mouseSelecting);
}

void CMyEdit::redraw() {
    if (active) refresh();
}

// The part of the box (2 pixels wider for the right-aligned caret) that lies inside the owner.
// Only that part is drawn: a very tall row or wide column, or a box grown by many added lines,
// would otherwise need a bitmap far beyond the screen.
QSize CMyEdit::shownSize() const {
    int width = boxWidth + 2;
    int height = boxHeight;
    if (owner) {
        width = std::min(width, owner->width() - boxLeft);
        height = std::min(height, owner->height() - boxTop);
    }
    return QSize(std::max(width, 0), std::max(height, 0));
}

void CMyEdit::renderBox() {
    const QSize shown = shownSize();
    // The bitmap holds device pixels, so the text is as sharp as the rest of a scaled screen;
    // the painter below still works in logical pixels.
    const qreal ratio = owner ? owner->devicePixelRatioF() : 1.0;
    const QSize room = bitmap.deviceIndependentSize().toSize();
    if (room.width() < shown.width() || room.height() < shown.height() ||
        bitmap.devicePixelRatio() != ratio) {
        QImage bigger(QSize(std::max(room.width(), shown.width()),
                            std::max(room.height(), shown.height())) * ratio,
                      QImage::Format_RGB32);
        bigger.setDevicePixelRatio(ratio);
        bigger.fill(Qt::white);
        bitmap = bigger;
    }
    QPainter painter(&bitmap);
    painter.fillRect(0, 0, shown.width(), shown.height(), Qt::white);
    painter.setClipRect(0, 0, std::min(text_.isRightAligned() ? boxWidth + 2 : boxWidth, shown.width()),
                        shown.height());
    painter.setFont(editorFont);
    painter.setPen(Qt::black);
    EditText::Point from{}, to{};
    bool selected = text_.selectionRange(from, to);
    for (int i = topLine, y = 0; i < lineCount() && y < shown.height(); ++i, y += pitch) {
        int selFrom = -1, selTo = -1;
        const std::string& line = text_.lineText(i);
        if (selected && i >= from.line && i <= to.line) {
            selFrom = i == from.line ? from.offset : 0;
            selTo = i == to.line ? to.offset : static_cast<int>(line.size());
        }
        drawLine(painter, line, y, selFrom, selTo);
    }
}

// Draws the visible part of one line; the selected bytes are inverted over the text height.
void CMyEdit::drawLine(QPainter& painter, const std::string& s, int y, int selFrom, int selTo) {
    int length = static_cast<int>(s.size());
    int first = EditText::boundaryAtOrBefore(s, std::max(0, -columnX(0, length) / cellWidth));
    int visibleEnd = first;
    while (visibleEnd < length && columnX(visibleEnd, length) < boxWidth)
        visibleEnd += (isLead(s[static_cast<size_t>(visibleEnd)]) && visibleEnd + 1 < length) ? 2 : 1;
    // Lent codes are drawn by fallback fonts of their own widths: one cell pair each.
    if (fontCellExact && GivenCodes::countIn(std::string_view(s.data() + first, static_cast<size_t>(visibleEnd - first))) == 0) {
        std::string_view run(s.data() + first, static_cast<size_t>(visibleEnd - first));
        painter.drawText(columnX(first, length), y + fontAscent, toUnicode(run));
    } else {
        for (int i = first; i < visibleEnd;) {
            int n = (isLead(s[static_cast<size_t>(i)]) && i + 1 < length) ? 2 : 1;
            painter.drawText(columnX(i, length), y + fontAscent,
                             toUnicode(std::string_view(s.data() + i, static_cast<size_t>(n))));
            i += n;
        }
    }
    if (selFrom >= 0 && selTo > selFrom) {
        int x1 = columnX(selFrom, length);
        int x2 = columnX(selTo, length);
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(x1, y, x2 - x1, cellHeight, Qt::white);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

QRect CMyEdit::caretRect() const {
    const int length = text_.lineLength();
    const int caret = text_.caretPosition();
    const bool rightAligned = text_.isRightAligned();
    int x = columnX(caret, length) - (rightAligned ? 1 : 0);
    int width = 2;
    if (!text_.isInsertMode()) {
        if (rightAligned && caret >= length) width = 2;
        else width = text_.doubleAtCaret() ? 2 * cellWidth : cellWidth;
    }
    return QRect(boxLeft + x, boxTop + caretRow * pitch, width, cellHeight);
}

// The composition text's box: at the caret, as wide as the text and one character high.
QRect CMyEdit::preeditRect() const {
    const QRect caretBox = caretRect();
    const int width = QFontMetrics(editorFont).horizontalAdvance(preedit) + 2;
    return QRect(caretBox.left(), caretBox.top(), width, cellHeight);
}

void CMyEdit::placeCaret(bool show) {
    caretShown = active && show;
    caretBlinkOn = true;
    if (surface) surface->update();
    // The composition window follows the caret and uses the editor font.
    if (QGuiApplication::inputMethod() && owner && owner->hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImFont);
}

void CMyEdit::blink() {
    if (!active) return;
    caretBlinkOn = !caretBlinkOn;
    if (surface && caretShown) surface->update();
}

void CMyEdit::updateSurfaceGeometry() {
    if (!surface) return;
    QRect area = active ? QRect(QPoint(boxLeft, boxTop), shownSize()) : QRect();
    if (!preedit.isEmpty()) area = area.united(preeditRect());
    if (area.isEmpty()) {
        surface->hide();
        return;
    }
    surface->setGeometry(area);
    surface->raise();
    surface->show();
    surface->update();
}

void CMyEdit::paintSurface(QPainter& painter) {
    QPoint origin = surface->pos();
    if (active) {
        const QSize shown = shownSize();
        int width = std::min(text_.isRightAligned() ? boxWidth + 2 : boxWidth, shown.width());
        const qreal ratio = bitmap.devicePixelRatio();
        painter.drawImage(QRectF(boxLeft - origin.x(), boxTop - origin.y(), width, shown.height()),
                          bitmap, QRectF(0, 0, width * ratio, shown.height() * ratio));
    }
    if (!preedit.isEmpty()) {
        const QRect area = preeditRect().translated(-origin);
        painter.fillRect(area, Qt::white);
        painter.setFont(editorFont);
        painter.setPen(Qt::black);
        painter.drawText(area.left() + 1, area.top() + fontAscent, preedit);
        painter.drawLine(area.left(), area.bottom(), area.right(), area.bottom());
        return;
    }
    if (active && caretShown && caretBlinkOn) {
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(caretRect().translated(-origin), Qt::white);
    }
}

// ---------------------------------------------------------------------------------------
// Input method

bool CMyEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != owner) return false;
    if (event->type() == QEvent::InputMethodQuery)
        return answerInputMethodQuery(static_cast<QInputMethodQueryEvent*>(event));
    if (event->type() == QEvent::InputMethod)
        return handleInputMethod(static_cast<QInputMethodEvent*>(event));
    return false;
}

bool CMyEdit::answerInputMethodQuery(QInputMethodQueryEvent* event) {
    Qt::InputMethodQueries queries = event->queries();
    for (int bit = 0; bit < 32; ++bit) {
        auto query = static_cast<Qt::InputMethodQuery>(1u << bit);
        if (!(queries & query)) continue;
        switch (query) {
        case Qt::ImEnabled: event->setValue(query, true); break;
        case Qt::ImCursorRectangle: event->setValue(query, caretRect()); break;
        case Qt::ImFont: event->setValue(query, editorFont); break;
        case Qt::ImHints: event->setValue(query, static_cast<int>(Qt::ImhMultiLine)); break;
        default: event->setValue(query, owner->inputMethodQuery(query)); break;
        }
    }
    event->accept();
    return true;
}

// Preedit text is shown at the caret; committed text is typed as characters would be,
// opening the editor first when it is closed.
bool CMyEdit::handleInputMethod(QInputMethodEvent* event) {
    bool starting = preedit.isEmpty() && !event->preeditString().isEmpty();
    preedit = event->preeditString();
    if (starting && !active && closedPreedit) closedPreedit();
    QString commit = event->commitString();
    if (!commit.isEmpty()) {
        // Text of which nothing can be typed must not open an empty edit that would replace
        // the cell's text.
        if (!active && !holdsTypeable(commit)) Prompt::beep();
        else if (!active && closedCommit) closedCommit();
        if (active) typeText(commit);
    }
    updateSurfaceGeometry();
    event->accept();
    return true;
}
