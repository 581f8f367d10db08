// CellLayout: splitting a cell's text into lines and choosing between cell and column colours.
#include "view/CellLayout.h"

#include "view/CMyHyoCom.h"

bool CellLayout::next(CellLine& line) {
    if (done_) return false;
    int end = start_;
    while (end < length_ && text_[end] != '\r') ++end;
    line.start = start_;
    line.length = end - start_;
    line.last = end >= length_;
    done_ = line.last;
    start_ = end + 1;
    if (start_ < length_ && text_[start_] == '\n') ++start_;
    return true;
}

bool CellLayout::oneLine() const {
    for (int i = 0; i < length_; ++i)
        if (text_[i] == '\r') return false;
    return true;
}

int CellLayout::colourIndex(int cellIndex, int columnIndex) {
    if (CMyHyoCom::isColourIndex(cellIndex)) return cellIndex;
    return CMyHyoCom::isColourIndex(columnIndex) ? columnIndex : -1;
}
