// CMyEdit: the in-cell editor - CP932 lines, caret, selection, box drawing, clipboard and IME.
#include "editor/CMyEdit.h"

#include "editor/EditSurface.h"
#include "platform/core/CodePage.h"
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
    lines.emplace_back();
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
    rightAligned = (flags & FlagRightAligned) != 0;
    boxLeft = rightAligned ? x : x + 2;
    boxTop = y + 1;
    boxWidth = std::max(1, rightAligned ? width - 5 : width - 3);
    if (rightAligned) maxW = boxWidth;
    boxHeight = std::max(height - 2, cellHeight);
    maxWidth = std::max(maxW, boxWidth);
    maxHeight = std::max(maxH, boxHeight);
    hScroll = topLine = caret = caretRow = 0;
    selAnchor = -1;
    selAnchorLine = 0;
    updateVisibleCounts();
}

void CMyEdit::updateVisibleCounts() {
    visibleColumns = std::max(1, boxWidth / cellWidth);
    visibleLines = std::max(1, (boxHeight + 2) / pitch);
}

// Splits the text (ending at TAB or NUL) into lines at CR or CR LF. A line longer than the
// working buffer is refused rather than cut, so committing can never lose its tail.
bool CMyEdit::loadText(const char* text) {
    std::vector<std::string> parsed(1);
    int total = 0;
    for (const char* p = text ? text : ""; *p && *p != '\t'; ++p) {
        if (*p == '\r') {
            if (p[1] == '\n') ++p;
            parsed.emplace_back();
            total += 2;
            continue;
        }
        if (static_cast<int>(parsed.back().size()) >= LineCapacity) return false;
        parsed.back().push_back(*p);
        ++total;
    }
    lines = std::move(parsed);
    totalBytes = total;
    curLine = 0;
    lineBuffer = lines[0];
    lineDirty = false;
    longestLine = 1;
    for (const std::string& line : lines)
        longestLine = std::max(longestLine, static_cast<int>(line.size()) + 1);
    if (longestLine * cellWidth > boxWidth) {
        boxWidth = std::min(longestLine * cellWidth, maxWidth);
        updateVisibleCounts();
    }
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
    if (flags & FlagCaretAtEnd) caret = lineLength();
    typingMode = (flags & FlagTyping) != 0;
    justTyped = false;
    mouseSelecting = false;
    maxBytes = (byteLimit <= 0 || byteLimit > LineCapacity) ? LineCapacity : byteLimit;
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
    typingMode = (flags & FlagTyping) != 0;
    if (flags & FlagCaretAtEnd) caret = lineLength();
    updateSurfaceGeometry();
    if (QGuiApplication::inputMethod()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void CMyEdit::close() {
    writeBack();
    selAnchor = -1;
    mouseSelecting = false;
    caretShown = false;
    active = false;
    preedit.clear();
    blinkTimer.stop();
    if (surface) surface->hide();
}

std::string CMyEdit::text() const {
    std::string joined;
    for (int i = 0; i < lineCount(); ++i) {
        if (i > 0) joined += "\r\n";
        joined += lineText(i);
    }
    return joined;
}

std::string CMyEdit::lineAt(int index) const {
    return index >= 0 && index < lineCount() ? lineText(index) : std::string();
}

// ---------------------------------------------------------------------------------------
// Lines and character boundaries

const std::string& CMyEdit::lineText(int index) const {
    return index == curLine ? lineBuffer : lines[static_cast<size_t>(index)];
}

void CMyEdit::writeBack() {
    if (lineDirty) lines[static_cast<size_t>(curLine)] = lineBuffer;
    lineDirty = false;
}

void CMyEdit::switchLine(int index) {
    writeBack();
    curLine = std::clamp(index, 0, lineCount() - 1);
    lineBuffer = lines[static_cast<size_t>(curLine)];
}

bool CMyEdit::doubleAt(int offset) const {
    return offset + 1 < lineLength() && isLead(lineBuffer[static_cast<size_t>(offset)]);
}

int CMyEdit::boundaryAtOrBefore(const std::string& s, int offset) const {
    int n = static_cast<int>(s.size());
    offset = std::clamp(offset, 0, n);
    int i = 0;
    while (i < offset) {
        int step = (isLead(s[static_cast<size_t>(i)]) && i + 1 < n) ? 2 : 1;
        if (i + step > offset) break;
        i += step;
    }
    return i;
}

int CMyEdit::nextCharEnd(int offset) const {
    return std::min(lineLength(), offset + (doubleAt(offset) ? 2 : 1));
}

int CMyEdit::previousCharStart(int offset) const {
    return offset <= 0 ? 0 : boundaryAtOrBefore(lineBuffer, offset - 1);
}

// A line grew to `length` bytes: the box widens to hold it (and the caret after it).
void CMyEdit::widenFor(int length) {
    longestLine = std::max(longestLine, length + 1);
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

// ---------------------------------------------------------------------------------------
// Selection

bool CMyEdit::hasSelection() const {
    return selAnchor >= 0 && (selAnchorLine != curLine || selAnchor != caret);
}

bool CMyEdit::selectionRange(TextPoint& from, TextPoint& to) const {
    if (!hasSelection()) return false;
    TextPoint anchor{selAnchorLine, selAnchor};
    TextPoint end{curLine, caret};
    bool anchorFirst = anchor.line < end.line || (anchor.line == end.line && anchor.offset < end.offset);
    from = anchorFirst ? anchor : end;
    to = anchorFirst ? end : anchor;
    return true;
}

std::string CMyEdit::selectedText() const {
    TextPoint from{}, to{};
    if (!selectionRange(from, to)) return {};
    std::string out;
    for (int i = from.line; i <= to.line; ++i) {
        const std::string& s = lineText(i);
        int a = i == from.line ? from.offset : 0;
        int b = i == to.line ? to.offset : static_cast<int>(s.size());
        a = std::min(a, static_cast<int>(s.size()));
        b = std::clamp(b, a, static_cast<int>(s.size()));
        if (i > from.line) out += "\r\n";
        out.append(s, static_cast<size_t>(a), static_cast<size_t>(b - a));
    }
    return out;
}

int CMyEdit::selectedLength() const { return static_cast<int>(selectedText().size()); }

void CMyEdit::deleteSelection() {
    TextPoint from{}, to{};
    if (!selectionRange(from, to)) {
        selAnchor = -1;
        return;
    }
    int removed = selectedLength();
    writeBack();
    std::string head = lines[static_cast<size_t>(from.line)].substr(0, static_cast<size_t>(from.offset));
    std::string tail = lines[static_cast<size_t>(to.line)].substr(static_cast<size_t>(to.offset));
    // As for Backspace and Delete: lines that together overflow the working buffer stay
    // apart, so the cell can still be opened for editing later.
    if (head.size() + tail.size() > LineCapacity) return;
    lines[static_cast<size_t>(from.line)] = head + tail;
    lines.erase(lines.begin() + from.line + 1, lines.begin() + to.line + 1);
    totalBytes -= removed;
    curLine = from.line;
    lineBuffer = lines[static_cast<size_t>(curLine)];
    caret = from.offset;
    selAnchor = -1;
    if (active) refresh();
}

// Before a caret move: Shift keeps or starts the selection at the old caret, else drops it.
void CMyEdit::startSelectionMove(bool shift) {
    if (!shift) {
        selAnchor = -1;
    } else if (selAnchor < 0) {
        selAnchor = caret;
        selAnchorLine = curLine;
    }
}

// ---------------------------------------------------------------------------------------
// Keys

void CMyEdit::moveLeft(bool shift) {
    startSelectionMove(shift);
    if (caret > 0) {
        caret = previousCharStart(caret);
    } else if (curLine > 0) {
        switchLine(curLine - 1);
        caret = lineLength();
    }
}

void CMyEdit::moveRight(bool shift) {
    startSelectionMove(shift);
    if (caret < lineLength()) {
        caret = nextCharEnd(caret);
    } else if (curLine < lineCount() - 1) {
        switchLine(curLine + 1);
        caret = 0;
    }
}

void CMyEdit::moveVertical(int delta, bool shift) {
    startSelectionMove(shift);
    int target = curLine + delta;
    if (target < 0 || target >= lineCount()) return;
    int column = caret;
    switchLine(target);
    caret = boundaryAtOrBefore(lineBuffer, std::min(column, lineLength()));
}

void CMyEdit::backspace() {
    selAnchor = -1;
    if (caret > 0) {
        int start = previousCharStart(caret);
        lineBuffer.erase(static_cast<size_t>(start), static_cast<size_t>(caret - start));
        totalBytes -= caret - start;
        caret = start;
        lineDirty = true;
    } else if (curLine > 0) {
        int previous = curLine - 1;
        // Two long lines that together overflow the working buffer stay apart.
        if (lines[static_cast<size_t>(previous)].size() + lineBuffer.size() > LineCapacity) return;
        std::string rest = lineBuffer;
        lines.erase(lines.begin() + curLine);
        curLine = previous;
        lineBuffer = lines[static_cast<size_t>(previous)];
        caret = lineLength();
        lineBuffer += rest;
        lineDirty = true;
        totalBytes -= 2;
    }
}

void CMyEdit::deleteForward() {
    if (hasSelection()) {
        deleteSelection();
        return;
    }
    selAnchor = -1;
    if (caret < lineLength()) {
        int end = nextCharEnd(caret);
        lineBuffer.erase(static_cast<size_t>(caret), static_cast<size_t>(end - caret));
        totalBytes -= end - caret;
        lineDirty = true;
    } else if (curLine < lineCount() - 1) {
        const std::string& next = lines[static_cast<size_t>(curLine + 1)];
        if (next.size() + lineBuffer.size() > LineCapacity) return;
        lineBuffer += next;
        lines.erase(lines.begin() + curLine + 1);
        lineDirty = true;
        totalBytes -= 2;
    }
}

// Ctrl+Enter: split the current line at the caret; the box grows without limit.
void CMyEdit::insertLineBreak() {
    if (rightAligned || totalBytes + 2 >= maxBytes) return;
    selAnchor = -1;
    std::string rest = lineBuffer.substr(static_cast<size_t>(caret));
    lineBuffer.resize(static_cast<size_t>(caret));
    lines[static_cast<size_t>(curLine)] = lineBuffer;
    lineDirty = false;
    lines.insert(lines.begin() + curLine + 1, rest);
    switchLine(curLine + 1);
    caret = 0;
    totalBytes += 2;
    growForLines(true);
}

int CMyEdit::keyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (!active) return KeyHandled;
    // Shift still held from typing a capital does not select with the key right after it.
    const bool afterCharacter = justTyped;
    justTyped = false;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            insertLineBreak();
            refresh();
        }
        return KeyHandled;
    }
    const bool shift = (modifiers & Qt::ShiftModifier) != 0 && !afterCharacter;
    switch (key) {
    case Qt::Key_Backspace:
        backspace();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        close();
        return KeyCommitAndMove;
    case Qt::Key_Escape:
        close();
        return KeyCancel;
    case Qt::Key_End:
        if (typingMode) return KeyCommit;
        startSelectionMove(shift);
        caret = lineLength();
        break;
    case Qt::Key_Home:
        if (typingMode) return KeyCommit;
        startSelectionMove(shift);
        caret = 0;
        break;
    case Qt::Key_Left:
        if (typingMode) return KeyCommitAndMove;
        moveLeft(shift);
        break;
    case Qt::Key_Right:
        if (typingMode) return KeyCommitAndMove;
        moveRight(shift);
        break;
    case Qt::Key_Up:
        if (typingMode) return KeyCommitAndMove;
        moveVertical(-1, shift);
        break;
    case Qt::Key_Down:
        if (typingMode) return KeyCommitAndMove;
        moveVertical(1, shift);
        break;
    case Qt::Key_Insert:
        insertMode = !insertMode;
        break;
    case Qt::Key_Delete:
        deleteForward();
        break;
    default:
        return KeyHandled;
    }
    refresh();
    return KeyHandled;
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
    if (!active || byte < 0x20) return;   // Backspace, TAB, CR and other controls
    if (hasSelection()) deleteSelection();
    selAnchor = -1;
    bool overwrite = !insertMode && caret < lineLength();
    if (overwrite && doubleAt(caret)) {
        // The single byte replaces the whole double-byte character.
        lineBuffer.erase(static_cast<size_t>(caret), 1);
        --totalBytes;
    }
    if (overwrite) {
        lineBuffer[static_cast<size_t>(caret)] = static_cast<char>(byte);
    } else {
        if (totalBytes + 1 >= maxBytes || lineLength() >= LineCapacity) return;
        lineBuffer.insert(lineBuffer.begin() + caret, static_cast<char>(byte));
        ++totalBytes;
    }
    afterTyping();
}

void CMyEdit::typeDouble(unsigned char lead, unsigned char trail) {
    if (!active) return;
    if (hasSelection()) deleteSelection();
    selAnchor = -1;
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    if (insertMode || caret >= lineLength()) {
        if (totalBytes + 2 >= maxBytes || lineLength() + 2 > LineCapacity) return;
        lineBuffer.insert(static_cast<size_t>(caret), pair, 2);
        totalBytes += 2;
    } else {
        if (!doubleAt(caret)) {
            // Over a single-byte character a space makes room for the second byte.
            if (totalBytes + 1 >= maxBytes || lineLength() + 1 > LineCapacity) return;
            lineBuffer.insert(lineBuffer.begin() + caret, ' ');
            ++totalBytes;
        }
        lineBuffer.replace(static_cast<size_t>(caret), 2, pair, 2);
    }
    afterTyping();
}

void CMyEdit::afterTyping() {
    widenFor(lineLength());
    lineDirty = true;
    justTyped = true;
    moveRight(false);
    refresh();
}

// ---------------------------------------------------------------------------------------
// Mouse

CMyEdit::TextPoint CMyEdit::pointAt(int x, int y) const {
    int line = std::clamp((y - boxTop) / pitch + topLine, 0, lineCount() - 1);
    const std::string& s = lineText(line);
    int length = static_cast<int>(s.size());
    int column;
    if (x < boxLeft) {
        column = 0;
    } else if (x >= boxLeft + boxWidth) {
        column = length;
    } else if (rightAligned) {
        column = length - hScroll - (boxLeft + boxWidth - x) / cellWidth;
    } else {
        column = (x - boxLeft) / cellWidth + hScroll;
    }
    return {line, boundaryAtOrBefore(s, column)};
}

bool CMyEdit::mouseDown(int x, int y) {
    if (!active) return false;
    QRect border(boxLeft - 2, boxTop - 1, boxWidth + 4, boxHeight + 2);
    if (!border.contains(x, y)) return false;
    TextPoint point = pointAt(x, y);
    switchLine(point.line);
    caret = point.offset;
    selAnchor = caret;
    selAnchorLine = curLine;
    mouseSelecting = true;
    refresh();
    return true;
}

void CMyEdit::mouseMove(int x, int y) {
    if (!active || !mouseSelecting) return;
    TextPoint point = pointAt(x, y);
    if (point.line != curLine) switchLine(point.line);
    caret = point.offset;
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
    if (hasSelection()) deleteSelection();
    selAnchor = -1;
    std::vector<std::string> pieces(1);
    int bytes = 0;
    for (int i = 0; i < length && text[i]; ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < length && text[i + 1] == '\n') ++i;
            pieces.emplace_back();
            continue;
        }
        pieces.back().push_back(c == '\t' ? ' ' : c);
        ++bytes;
    }
    std::string tail = lineBuffer.substr(static_cast<size_t>(caret));
    lineBuffer.resize(static_cast<size_t>(caret));
    lineBuffer += pieces.front();
    if (pieces.size() == 1) {
        caret = lineLength();
        lineBuffer += tail;
        lineDirty = true;
        widenFor(lineLength());
    } else {
        lines[static_cast<size_t>(curLine)] = lineBuffer;
        widenFor(lineLength());
        int at = curLine + 1;
        for (size_t k = 1; k < pieces.size(); ++k, ++at) {
            std::string line = pieces[k] + (k + 1 == pieces.size() ? tail : std::string());
            lines.insert(lines.begin() + at, line);
            widenFor(static_cast<int>(line.size()));
        }
        lineDirty = false;
        switchLine(at - 1);
        caret = static_cast<int>(pieces.back().size());
        for (size_t k = 1; k < pieces.size(); ++k) {
            if (boxHeight + pitch >= maxHeight) break;
            boxHeight += pitch;
        }
        updateVisibleCounts();
    }
    totalBytes += bytes + 2 * static_cast<int>(pieces.size() - 1);
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
    deleteSelection();
    lineDirty = true;
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
    if (pastedLength(bytes) + totalBytes >= PasteLimit) {
        Prompt::warn("サイズをオーバーするためコピーはできません。");
        return;
    }
    pasteText(bytes.data(), static_cast<int>(bytes.size()));
}

// ---------------------------------------------------------------------------------------
// Scrolling, drawing and the caret

void CMyEdit::ensureCaretVisible() {
    caret = boundaryAtOrBefore(lineBuffer, caret);
    int length = lineLength();
    if (rightAligned) {
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
    return rightAligned ? boxWidth - (length - hScroll - offset) * cellWidth
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
    painter.setClipRect(0, 0, std::min(rightAligned ? boxWidth + 2 : boxWidth, shown.width()),
                        shown.height());
    painter.setFont(editorFont);
    painter.setPen(Qt::black);
    TextPoint from{}, to{};
    bool selected = selectionRange(from, to);
    for (int i = topLine, y = 0; i < lineCount() && y < shown.height(); ++i, y += pitch) {
        int selFrom = -1, selTo = -1;
        if (selected && i >= from.line && i <= to.line) {
            selFrom = i == from.line ? from.offset : 0;
            selTo = i == to.line ? to.offset : static_cast<int>(lineText(i).size());
        }
        drawLine(painter, lineText(i), y, selFrom, selTo);
    }
}

// Draws the visible part of one line; the selected bytes are inverted over the text height.
void CMyEdit::drawLine(QPainter& painter, const std::string& s, int y, int selFrom, int selTo) {
    int length = static_cast<int>(s.size());
    int first = boundaryAtOrBefore(s, std::max(0, -columnX(0, length) / cellWidth));
    int visibleEnd = first;
    while (visibleEnd < length && columnX(visibleEnd, length) < boxWidth)
        visibleEnd += (isLead(s[static_cast<size_t>(visibleEnd)]) && visibleEnd + 1 < length) ? 2 : 1;
    if (fontCellExact) {
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
    int length = lineLength();
    int x = columnX(caret, length) - (rightAligned ? 1 : 0);
    int width = 2;
    if (!insertMode) {
        if (rightAligned && caret >= length) width = 2;
        else width = doubleAt(caret) ? 2 * cellWidth : cellWidth;
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
        int width = std::min(rightAligned ? boxWidth + 2 : boxWidth, shown.width());
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
