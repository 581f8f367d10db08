// CMyCSV: telling a comma file from a TAB file by its first separator outside quotes.
#include "store/CMyCSV.h"

#include "platform/core/CodePage.h"

#include <algorithm>

namespace {
constexpr int SeparatorScanLimit = 1024 * 1024;
} // namespace

int CMyCSV::detectSeparator(bool tabName) {
    char separator = file.rewindToData() >= 0 ? scanForSeparator(tabName) : ',';
    file.rewindToData();
    beginInput();
    fieldSeparator = separator;
    return separator == ',' ? 1 : 0;
}

// A long first cell may hold neither separator in the first piece: the scan reads on, piece
// by piece, up to the first megabyte. Nothing found means comma.
char CMyCSV::scanForSeparator(bool tabName) {
    bool commaFound = false;        // a comma outside quotes, for a *.tsv name not yet decisive
    bool quoted = false;
    int scanned = 0;
    while (scanned < SeparatorScanLimit) {
        int length = 0;
        const char* text = file.readChunk(length);
        if (!text || length == 0) break;
        const auto* p = reinterpret_cast<const unsigned char*>(text);
        int limit = std::min(length, SeparatorScanLimit - scanned);
        scanned += length;
        for (int i = 0; i < limit; ++i) {
            unsigned char c = p[i];
            if (CodePage::isLeadByte(c)) {
                ++i;
            } else if (quoted) {
                if (c == '"' && p[i + 1] == '"') ++i;
                else if (c == '"') quoted = false;
                else if (c == '\t' && !commaFound) return '\t';
            } else if (c == '"') {
                quoted = true;
            } else if (c == '\t') {
                return '\t';   // the first separator, or for a *.tsv name one in the first record
            } else if (c == ',' && !commaFound) {
                if (!tabName) return ',';
                commaFound = true;
            } else if ((c == '\r' || c == '\n') && commaFound) {
                return ',';
            }
        }
    }
    return ',';
}
