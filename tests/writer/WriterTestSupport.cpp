// Helpers for the writer tests.
#include "WriterTestSupport.h"

#include <fstream>
#include <iterator>

#include "store/CMyHyo.h"

void fillTable(CMyHyo& hyo, const std::vector<std::string>& rows) {
    hyo.reset();
    hyo.journal().setRecording(false);
    int widest = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        std::string text = rows[r];
        for (char& c : text)
            if (c == '|') c = '\t';
        hyo.setRow(static_cast<int>(r), text);
        const int cells = hyo.cellCount(static_cast<int>(r));
        if (cells > widest) widest = cells;
    }
    hyo.setWidestRow(widest);
    hyo.journal().setRecording(true);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
