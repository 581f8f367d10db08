// Helpers shared by the engine tests: tables from literal rows and their exact bytes.
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

// Every stored row with its bytes, "|" after each.
inline std::string allRows(CMyHyo& hyo) {
    std::string out;
    for (int i = 0; i < hyo.storeRowCount(); ++i) out += hyo.rowList().line(i) + "|";
    return out;
}
