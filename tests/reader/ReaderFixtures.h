// Helpers for the reader tests: CP932 literals, table encoding, and reading every record.
#pragma once

#include "platform/core/CodePage.h"
#include "store/CMyCSV.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Table = std::vector<std::vector<std::string>>;

// UTF-8 literal as the CP932 bytes the reader produces.
inline std::string sj(const std::string& utf8) { return CodePage::toCp932(utf8); }

// Every record of a file through CMyCSV; `status` gets the first negative code (or 0).
inline Table readAll(const std::string& path, char separator, bool strict, bool quotes = true,
                     int encoding = 0, bool allowChange = true, int* status = nullptr,
                     CMyCSV* keep = nullptr) {
    CMyCSV local;
    CMyCSV& csv = keep ? *keep : local;
    Table table;
    int rc = csv.open(path, encoding, allowChange);
    if (status) *status = rc == 0 ? 0 : 1000 + rc;
    if (rc != 0) return table;
    if (separator == 0) csv.detectSeparator();
    else csv.setSeparator(separator);
    csv.setStrictQuotes(strict);
    csv.setQuotesActive(quotes);
    for (;;) {
        int n = csv.readRecord();
        if (n <= 0) {
            if (status && n < 0) *status = n;
            break;
        }
        std::vector<std::string> record;
        for (int i = 0; i < csv.keptFields(); ++i)
            record.emplace_back(csv.field(i), csv.fieldLength(i));
        table.push_back(record);
    }
    return table;
}

// Encodes CP932 text into a file encoding (0, 10, 11, 15) with or without the mark.
inline std::string encodeAs(const std::string& cp932, int encoding, bool bom) {
    std::string out;
    if (encoding == 15) {
        if (bom) out = "\xEF\xBB\xBF";
        std::string utf8;
        CodePage::cp932ToUtf8(cp932, utf8);
        return out + utf8;
    }
    if (encoding == 10 || encoding == 11) {
        if (bom) out = encoding == 10 ? std::string("\xFF\xFE", 2) : std::string("\xFE\xFF", 2);
        std::string bytes;
        CodePage::cp932ToUtf16Bytes(cp932, encoding == 11, bytes);
        return out + bytes;
    }
    return cp932;
}

// Joins a table as a comma or TAB file. quoteMode: 0 where needed, 1 every field, 2 only
// fields with line breaks (TAB files), 3 never.
inline std::string formatTable(const Table& table, char separator, int quoteMode,
                               const std::string& lineEnd) {
    std::string out;
    for (const auto& record : table) {
        for (size_t i = 0; i < record.size(); ++i) {
            if (i > 0) out += separator;
            const std::string& cell = record[i];
            bool hasBreak = cell.find_first_of("\r\n") != std::string::npos;
            bool needs = quoteMode == 1 || (quoteMode == 2 && hasBreak) ||
                         (quoteMode == 0 && (hasBreak || cell.find_first_of(",\"") != std::string::npos));
            std::string text;
            for (size_t k = 0; k < cell.size(); ++k) {
                if (cell[k] == '\r' && k + 1 < cell.size() && cell[k + 1] == '\n') {
                    text += lineEnd;
                    ++k;
                } else {
                    if (cell[k] == '"' && needs) text += '"';
                    text += cell[k];
                }
            }
            out += needs ? "\"" + text + "\"" : text;
        }
        out += lineEnd;
    }
    return out;
}

// The reader fuzz corpus (fuzz/corpus/reader), its files in name order, a file's bytes.
inline std::filesystem::path readerCorpusFolder() {
    if (const char* source = std::getenv("VEXIL_SOURCE_DIR"))
        return std::filesystem::path(source) / "fuzz" / "corpus" / "reader";
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" / "corpus" /
           "reader";
}

inline std::vector<std::filesystem::path> corpusFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(readerCorpusFolder(), ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

inline std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
