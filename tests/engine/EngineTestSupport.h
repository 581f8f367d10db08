// Small helpers for the engine tests: tables from row strings and their exact bytes.
#pragma once

#include <initializer_list>
#include <string>

#include "store/CMyHyo.h"

inline void fillRows(CMyHyo& hyo, std::initializer_list<std::string> lines) {
    const bool was = hyo.journal().setRecording(false);
    int row = 0;
    for (const std::string& line : lines) hyo.setRow(row++, line);
    hyo.setWidestRow(hyo.widestRowCount());
    hyo.journal().setRecording(was);
}

// Every store row, hidden ones included, each followed by "|".
inline std::string storeBytes(CMyHyo& hyo) {
    std::string out;
    for (int i = 0; i < hyo.storeRowCount(); ++i) out += hyo.rowList().line(i) + "|";
    return out;
}

// Shows store rows `rows` only.
inline void filterTo(CMyHyo& hyo, std::initializer_list<int> rows) {
    for (int row : rows) hyo.addFilterRow(row);
    hyo.setFilterActive(true);
}
