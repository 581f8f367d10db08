// ReaderComparison: reads a file record by record and in parallel pieces with the same
// settings and says whether both gave the same records, counts and results. Shared by the
// reader tests and the parallel-reader fuzz target.
#pragma once

#include "store/CMyCSV.h"
#include "store/ParallelReader.h"

#include <string>
#include <vector>

namespace ReaderComparison {

struct Settings {
    int encoding = 0;          // as CMyCSV::open takes it
    bool allowChange = true;
    char separator = 0;        // 0: detected
    bool strictQuotes = true;
    bool quotesActive = true;
};

struct Result {
    bool opened = false;
    bool failed = false;       // a record could not be read
    std::vector<std::string> records;   // count, kept, cells, line break, forms and row
    std::string ends;          // counts, line-end kind, replacements, lost characters
};

inline bool openWith(CMyCSV& csv, const std::string& path, const Settings& s) {
    if (csv.open(path, s.encoding, s.allowChange) != 0) return false;
    if (s.separator == 0) csv.detectSeparator();
    else csv.setSeparator(s.separator);
    csv.setStrictQuotes(s.strictQuotes);
    csv.setQuotesActive(s.quotesActive);
    return true;
}

inline std::string describe(const RecordView& r) {
    std::string text = std::to_string(r.count) + "/" + std::to_string(r.kept) + "/" +
                       std::to_string(r.cells) + "/" + (r.lineBreak ? "b" : "-") + "/";
    text.append(reinterpret_cast<const char*>(r.forms), r.kept);
    text += "/";
    text.append(r.row, r.length);
    return text;
}

inline std::string endsOf(const CMyCSV& csv) {
    const CMyCSV::Counts c = csv.counts();
    const CMyCSV::Replaced r = csv.replaced();
    return std::to_string(c.records) + " " + std::to_string(c.crlf) + " " + std::to_string(c.cr) +
           " " + std::to_string(c.lf) + " " + std::to_string(c.tabs) + " " +
           std::to_string(c.brokenLeads) + " " + (c.unterminated ? "u" : "-") + " kind " +
           std::to_string(csv.lineEndingKind()) + " replaced " + std::to_string(r.nulls) + " " +
           std::to_string(r.controls) + " " + std::to_string(r.tabs) + " " +
           std::to_string(r.brokenLeads) + " lost " + std::to_string(csv.unrepresentableCharacters()) +
           " sep " + std::to_string(csv.separatorInUse());
}

inline Result byRecord(const std::string& path, const Settings& s) {
    Result result;
    CMyCSV csv;
    if (!(result.opened = openWith(csv, path, s))) return result;
    for (;;) {
        int count = csv.readRecord();
        if (count == 0) break;
        if (count < 0) {
            result.failed = true;
            break;
        }
        const RecordView view = csv.takeRecord(count);
        result.records.push_back(describe(view));
    }
    result.ends = endsOf(csv);
    return result;
}

inline Result inParallel(const std::string& path, const Settings& s, ParallelReader::Shape shape) {
    Result result;
    CMyCSV csv;
    if (!(result.opened = openWith(csv, path, s))) return result;
    ParallelReader reader(csv, shape);
    auto take = [&](const RecordView& view) {
        result.records.push_back(describe(view));
        return true;
    };
    result.failed = reader.run(take) != ParallelReader::Outcome::Done;
    result.ends = endsOf(csv);
    return result;
}

// Empty when both readings agree, else what differs first.
inline std::string difference(const Result& reference, const Result& parallel) {
    if (reference.opened != parallel.opened) return "opened";
    if (reference.failed != parallel.failed) return reference.failed ? "parallel read past an error"
                                                                     : "parallel read failed";
    if (reference.failed) return "";   // the open flow reads such a file again record by record
    if (reference.records.size() != parallel.records.size())
        return "records " + std::to_string(reference.records.size()) + " vs " +
               std::to_string(parallel.records.size());
    for (std::size_t i = 0; i < reference.records.size(); ++i)
        if (reference.records[i] != parallel.records[i])
            return "record " + std::to_string(i) + ": [" + reference.records[i] + "] vs [" +
                   parallel.records[i] + "]";
    if (reference.ends != parallel.ends) return "ends: " + reference.ends + " vs " + parallel.ends;
    return "";
}

} // namespace ReaderComparison
