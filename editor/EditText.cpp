// EditText: lines, caret, selection and keys of the in-cell editor.
#include "editor/EditText.h"

#include "platform/core/CodePage.h"

#include <algorithm>

namespace {

bool isLead(char c) { return CodePage::isLeadByte(static_cast<unsigned char>(c)); }

}  // namespace

EditText::EditText() { lines.emplace_back(); }

void EditText::reset(bool right) {
    rightAligned = right;
    caret = 0;
    selAnchor = -1;
    selAnchorLine = 0;
}

void EditText::begin(bool typing, bool caretAtEnd) {
    if (caretAtEnd) caret = lineLength();
    typingMode = typing;
    justTyped = false;
}

void EditText::setLimit(int byteLimit) {
    maxBytes = (byteLimit <= 0 || byteLimit > LineCapacity) ? LineCapacity : byteLimit;
}

bool EditText::load(const char* text) {
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
    longest = 1;
    for (const std::string& line : lines) longest = std::max(longest, static_cast<int>(line.size()) + 1);
    return true;
}

void EditText::finish() {
    writeBack();
    selAnchor = -1;
}

std::string EditText::text() const {
    std::string joined;
    for (int i = 0; i < lineCount(); ++i) {
        if (i > 0) joined += "\r\n";
        joined += lineText(i);
    }
    return joined;
}

// ---------------------------------------------------------------------------------------
// Lines and character boundaries

const std::string& EditText::lineText(int index) const {
    return index == curLine ? lineBuffer : lines[static_cast<size_t>(index)];
}

void EditText::writeBack() {
    if (lineDirty) lines[static_cast<size_t>(curLine)] = lineBuffer;
    lineDirty = false;
}

void EditText::switchLine(int index) {
    writeBack();
    curLine = std::clamp(index, 0, lineCount() - 1);
    lineBuffer = lines[static_cast<size_t>(curLine)];
}

bool EditText::doubleAt(int offset) const {
    return offset + 1 < lineLength() && isLead(lineBuffer[static_cast<size_t>(offset)]);
}

int EditText::boundaryAtOrBefore(const std::string& s, int offset) {
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

int EditText::nextCharEnd(int offset) const {
    return std::min(lineLength(), offset + (doubleAt(offset) ? 2 : 1));
}

int EditText::previousCharStart(int offset) const {
    return offset <= 0 ? 0 : boundaryAtOrBefore(lineBuffer, offset - 1);
}

// A line grew to `length` bytes.
void EditText::noteLength(int length) { longest = std::max(longest, length + 1); }

void EditText::snapCaret() { caret = boundaryAtOrBefore(lineBuffer, caret); }

void EditText::pressAt(const Point& point) {
    switchLine(point.line);
    caret = point.offset;
    selAnchor = caret;
    selAnchorLine = curLine;
}

void EditText::dragTo(const Point& point) {
    if (point.line != curLine) switchLine(point.line);
    caret = point.offset;
}

// ---------------------------------------------------------------------------------------
// Selection

bool EditText::hasSelection() const {
    return selAnchor >= 0 && (selAnchorLine != curLine || selAnchor != caret);
}

bool EditText::selectionRange(Point& from, Point& to) const {
    if (!hasSelection()) return false;
    Point anchor{selAnchorLine, selAnchor};
    Point end{curLine, caret};
    bool anchorFirst = anchor.line < end.line || (anchor.line == end.line && anchor.offset < end.offset);
    from = anchorFirst ? anchor : end;
    to = anchorFirst ? end : anchor;
    return true;
}

std::string EditText::selectedText() const {
    Point from{}, to{};
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

void EditText::deleteSelection() {
    Point from{}, to{};
    if (!selectionRange(from, to)) {
        selAnchor = -1;
        return;
    }
    const int removed = static_cast<int>(selectedText().size());
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
}

void EditText::cutSelection() {
    deleteSelection();
    lineDirty = true;
}

// Before a caret move: Shift keeps or starts the selection at the old caret, else drops it.
void EditText::startSelectionMove(bool shift) {
    if (!shift) {
        selAnchor = -1;
    } else if (selAnchor < 0) {
        selAnchor = caret;
        selAnchorLine = curLine;
    }
}

// ---------------------------------------------------------------------------------------
// Keys

void EditText::moveLeft(bool shift) {
    startSelectionMove(shift);
    if (caret > 0) {
        caret = previousCharStart(caret);
    } else if (curLine > 0) {
        switchLine(curLine - 1);
        caret = lineLength();
    }
}

void EditText::moveRight(bool shift) {
    startSelectionMove(shift);
    if (caret < lineLength()) {
        caret = nextCharEnd(caret);
    } else if (curLine < lineCount() - 1) {
        switchLine(curLine + 1);
        caret = 0;
    }
}

void EditText::moveVertical(int delta, bool shift) {
    startSelectionMove(shift);
    int target = curLine + delta;
    if (target < 0 || target >= lineCount()) return;
    int column = caret;
    switchLine(target);
    caret = boundaryAtOrBefore(lineBuffer, std::min(column, lineLength()));
}

void EditText::backspace() {
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

void EditText::deleteForward() {
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
bool EditText::insertLineBreak() {
    if (rightAligned || totalBytes + 2 >= maxBytes) return false;
    selAnchor = -1;
    std::string rest = lineBuffer.substr(static_cast<size_t>(caret));
    lineBuffer.resize(static_cast<size_t>(caret));
    lines[static_cast<size_t>(curLine)] = lineBuffer;
    lineDirty = false;
    lines.insert(lines.begin() + curLine + 1, rest);
    switchLine(curLine + 1);
    caret = 0;
    totalBytes += 2;
    return true;
}

EditText::KeyStep EditText::keyDown(int key, Qt::KeyboardModifiers modifiers) {
    // Shift still held from typing a capital does not select with the key right after it.
    const bool afterCharacter = justTyped;
    justTyped = false;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const bool added = insertLineBreak();
            return {.redraw = true, .lineAdded = added};
        }
        return {};
    }
    const bool shift = (modifiers & Qt::ShiftModifier) != 0 && !afterCharacter;
    switch (key) {
    case Qt::Key_Backspace:
        backspace();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        finish();
        return {.result = KeyCommitAndMove, .close = true};
    case Qt::Key_Escape:
        finish();
        return {.result = KeyCancel, .close = true};
    case Qt::Key_End:
        if (typingMode) return {.result = KeyCommit};
        startSelectionMove(shift);
        caret = lineLength();
        break;
    case Qt::Key_Home:
        if (typingMode) return {.result = KeyCommit};
        startSelectionMove(shift);
        caret = 0;
        break;
    case Qt::Key_Left:
        if (typingMode) return {.result = KeyCommitAndMove};
        moveLeft(shift);
        break;
    case Qt::Key_Right:
        if (typingMode) return {.result = KeyCommitAndMove};
        moveRight(shift);
        break;
    case Qt::Key_Up:
        if (typingMode) return {.result = KeyCommitAndMove};
        moveVertical(-1, shift);
        break;
    case Qt::Key_Down:
        if (typingMode) return {.result = KeyCommitAndMove};
        moveVertical(1, shift);
        break;
    case Qt::Key_Insert:
        insertMode = !insertMode;
        break;
    case Qt::Key_Delete:
        deleteForward();
        break;
    default:
        return {};
    }
    return {.redraw = true};
}

// ---------------------------------------------------------------------------------------
// Characters and paste

bool EditText::typeSingle(unsigned char byte) {
    if (byte < 0x20) return false;   // Backspace, TAB, CR and other controls
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
        if (totalBytes + 1 >= maxBytes || lineLength() >= LineCapacity) return false;
        lineBuffer.insert(lineBuffer.begin() + caret, static_cast<char>(byte));
        ++totalBytes;
    }
    afterTyping();
    return true;
}

bool EditText::typeDouble(unsigned char lead, unsigned char trail) {
    if (hasSelection()) deleteSelection();
    selAnchor = -1;
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    if (insertMode || caret >= lineLength()) {
        if (totalBytes + 2 >= maxBytes || lineLength() + 2 > LineCapacity) return false;
        lineBuffer.insert(static_cast<size_t>(caret), pair, 2);
        totalBytes += 2;
    } else {
        if (!doubleAt(caret)) {
            // Over a single-byte character a space makes room for the second byte.
            if (totalBytes + 1 >= maxBytes || lineLength() + 1 > LineCapacity) return false;
            lineBuffer.insert(lineBuffer.begin() + caret, ' ');
            ++totalBytes;
        }
        lineBuffer.replace(static_cast<size_t>(caret), 2, pair, 2);
    }
    afterTyping();
    return true;
}

void EditText::afterTyping() {
    noteLength(lineLength());
    lineDirty = true;
    justTyped = true;
    moveRight(false);
}

int EditText::paste(const char* text, int length) {
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
        noteLength(lineLength());
    } else {
        lines[static_cast<size_t>(curLine)] = lineBuffer;
        noteLength(lineLength());
        int at = curLine + 1;
        for (size_t k = 1; k < pieces.size(); ++k, ++at) {
            std::string line = pieces[k] + (k + 1 == pieces.size() ? tail : std::string());
            lines.insert(lines.begin() + at, line);
            noteLength(static_cast<int>(line.size()));
        }
        lineDirty = false;
        switchLine(at - 1);
        caret = static_cast<int>(pieces.back().size());
    }
    totalBytes += bytes + 2 * static_cast<int>(pieces.size() - 1);
    return static_cast<int>(pieces.size()) - 1;
}

