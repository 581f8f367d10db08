// Fuzz target: list blocks as read from a colour file, then used as column records and rows.
#include <cstdint>
#include <cstdio>
#include <string>

#include "store/CMyHyo.h"
#include "store/CMyLine.h"

namespace {
// Exercises the row routines on whatever bytes a damaged file put into a row.
void useAsRows(const CMyLine& list) {
    CMyHyo hyo;
    int lines = list.lineCount() < 40 ? list.lineCount() : 40;
    for (int i = 0; i < lines; ++i) hyo.setRow(i, list.lineText(i) ? list.lineText(i) : "", list.lineLength(i));
    for (int i = 0; i < lines; ++i) {
        hyo.cellCount(i);
        hyo.rowHeight(i);
        for (int c = 0; c < 6; ++c) {
            hyo.cellString(c, i);
            hyo.cellAttribute(c, i, AttrBackColour);
        }
        hyo.setCell(i % 5, i, "v");
        hyo.setCellAttribute(1, i, AttrTextColour, 3, 1, 0);
        hyo.setRowHeight(i, 20 + i);
    }
    hyo.widestRowCount();
    hyo.deleteColumns(1, 2);
    hyo.insertColumns(0, 1);
    hyo.deleteRows(0, 1);
    while (hyo.undo().row >= 0) {
    }
}

void useAsColumns(const uint8_t* data, size_t size) {
    std::FILE* file = std::tmpfile();
    if (!file) return;
    if (size) std::fwrite(data, 1, size, file);
    std::rewind(file);
    CMyHyo hyo;
    hyo.readColumns(file);
    std::fclose(file);
    for (int c = 0; c < hyo.columnCount() && c < 40; ++c) {
        hyo.columnWidth(c);
        hyo.columnTitle(c);
        hyo.scaledColumnWidth(c);
        hyo.setColumnTitle(c, "t");
    }
    hyo.deleteColumns(0, 0);
    hyo.undo();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::tmpfile();
    if (!file) return 0;
    if (size) std::fwrite(data, 1, size, file);
    std::rewind(file);
    CMyLine list(2048);
    int result = list.readBlock(file);
    std::fclose(file);
    if (result >= 0) useAsRows(list);
    useAsColumns(data, size);
    return 0;
}
