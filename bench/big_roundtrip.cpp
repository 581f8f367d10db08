// The promise for big files, checked end to end without a window: under a row option of
// 3,000,000 a generated table of 2,000,000 rows (VEXIL_BIG_ROWS) opens whole, saves back byte
// for byte, and a sort, a filter and a replace all each run to the end while they report
// progress. Each step prints its wall time and the process's peak memory; any failure makes
// the exit status 1.
#include "bench/BigTable.h"
#include "engine/FindReplace.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/Progress.h"
#include "store/SaveFlow.h"
#include "store/TableLimits.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int RowOption = 3000000;

// Counts what the operations tell a progress dialog; never asks them to stop.
class CountingSink : public ProgressSink {
public:
    void begin(const std::string&, bool) override { ++begins; }
    bool report(long long, long long) override {
        ++reports;
        return true;
    }
    void end() override { ++ends; }
    void restart() { begins = reports = ends = 0; }

    int begins = 0;
    long long reports = 0;
    int ends = 0;
};

struct Run {
    CountingSink sink;
    int failures = 0;
};

// Runs one step. `body` returns what went wrong, or nothing. With `needsProgress` a step that
// reported no progress fails as well.
void step(Run& run, const char* name, bool needsProgress, const std::function<std::string()>& body) {
    run.sink.restart();
    const auto start = std::chrono::steady_clock::now();
    std::string failure = body();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (failure.empty() && needsProgress && (run.sink.reports == 0 || run.sink.ends != run.sink.begins))
        failure = "progress was not reported";
    std::printf("%-8s %8.2f s   peak %7.0f MB   progress: %d begun, %lld reports, %d ended   %s%s\n", name,
                seconds.count(), BenchTable::peakKilobytes() / 1024.0, run.sink.begins, run.sink.reports,
                run.sink.ends, failure.empty() ? "ok" : "FAILED: ", failure.c_str());
    std::fflush(stdout);
    if (!failure.empty()) ++run.failures;
}

// Where the two files first differ, or nothing when they are the same bytes.
std::string compareFiles(const std::string& original, const std::string& copy) {
    std::ifstream a(original, std::ios::binary), b(copy, std::ios::binary);
    if (!a || !b) return "could not read the files back";
    std::vector<char> left(1 << 22), right(1 << 22);
    long long offset = 0;
    for (;;) {
        a.read(left.data(), static_cast<std::streamsize>(left.size()));
        b.read(right.data(), static_cast<std::streamsize>(right.size()));
        const std::streamsize gotLeft = a.gcount(), gotRight = b.gcount();
        const std::streamsize common = std::min(gotLeft, gotRight);
        const auto mismatch = std::mismatch(left.begin(), left.begin() + common, right.begin());
        if (mismatch.first != left.begin() + common)
            return "differs at byte " + std::to_string(offset + (mismatch.first - left.begin()));
        if (gotLeft != gotRight) return "sizes differ after byte " + std::to_string(offset + common);
        if (gotLeft == 0) return {};
        offset += gotLeft;
    }
}

// Every row against the one before it, by the sort's own comparison.
bool rowsInKeyOrder(CMyHyo& hyo) {
    for (int row = 1; row < hyo.rowCount(); ++row)
        if (hyo.compareRowToKeys(row, hyo.sortKeyCells(row - 1)) < 0) return false;
    return true;
}

struct Table {
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

std::string openWhole(Table& table, const std::string& path, int records) {
    OpenFlow flow(table.hyo, table.global, table.doc);
    if (flow.openFile(path, false, "", TypeComma) != 0) return "the open failed";
    if (table.doc.readError) return "the open noted a read error";
    const int rows = table.hyo.storeRowCount();
    if (rows != records) return std::to_string(rows) + " rows of " + std::to_string(records);
    std::printf("         %d rows, %d columns\n", rows, table.hyo.widestRowCount());
    return {};
}

// Saved under a second name "as read", then compared with the original byte for byte.
std::string saveIdentical(Table& table, const std::string& original) {
    const std::string copy = BigTable::scratchFolder() + "/saved.csv";
    table.global.setQuoteKind(CMyGlobal::QuoteAsRead);
    table.global.setFileQuoteLineBreakOnly(false);
    DocumentState target = table.doc;
    target.filePath = copy;
    if (!SaveFlow(table.hyo, table.global, target).saveDocument(false)) return "the save failed";
    std::string difference = compareFiles(original, copy);
    std::remove(copy.c_str());
    return difference;
}

// The third column (0.00 to 99999.99) as text.
std::string sortByOneKey(CMyHyo& hyo) {
    hyo.clearSortKeys();
    hyo.addSortKey(2, false, false, 0);
    if (hyo.sortRows() != 0) return "the sort did not finish";
    return rowsInKeyOrder(hyo) ? std::string() : "rows out of order after the sort";
}

// "< 500000" on the first column (numbers below 1,000,000) keeps about half the rows.
std::string filterHalf(CMyHyo& hyo, int records) {
    if (hyo.applyFilter(0, "500000", MatchNumberBelow, 0, false) != 0) return "the filter did not finish";
    const int kept = hyo.rowCount();
    hyo.clearFilter();
    std::printf("         %d rows kept\n", kept);
    if (kept < records * 0.4 || kept > records * 0.6) return "kept " + std::to_string(kept) + " rows";
    return {};
}

// "/" -> "-" through the whole table: every fifth column, from the second on, holds a date, and
// nothing else holds a "/".
std::string replaceAll(CMyHyo& hyo, int records) {
    const long long dateCells = static_cast<long long>(records) * (BenchTable::Columns / 5);
    FindParameters params;
    FindReplace::setFindText(params, "/", 1, MatchContain);
    FindReplace::setReplaceText(params, "-");
    const FindOutcome outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), -1, true);
    std::printf("         %d cells replaced\n", outcome.replaced);
    if (outcome.cancelled || outcome.gaveUp) return "the replace did not finish";
    if (outcome.replaced != dateCells) return "replaced " + std::to_string(outcome.replaced) + " cells";
    return {};
}

}  // namespace

int main() {
    const int records = BigTable::rowsFromEnvironment();
    TableLimits::setMaxRows(std::max(RowOption, records));
    const std::string path = BigTable::dataPath(records);
    static BigTable::TellingPrompt prompt;
    Prompt::install(&prompt);
    Run run;
    Progress::install(&run.sink);
    std::printf("%d rows, row option %d, %s\n", records, TableLimits::maxRows(), path.c_str());

    step(run, "file", false, [&] {
        const long long bytes = BigTable::ensureFile(path, records);
        if (bytes < 0) return std::string("could not write the file");
        std::printf("         %.1f MB\n", bytes / BigTable::Megabyte);
        return std::string();
    });
    if (run.failures) return 1;
    BigTable::scratchFolder();   // before the settings object, which finds its folder when made
    auto table = std::make_unique<Table>();
    BigTable::prepare(table->global, table->hyo);
    step(run, "open", false, [&] { return openWhole(*table, path, records); });
    if (run.failures) return 1;
    step(run, "save", false, [&] { return saveIdentical(*table, path); });
    step(run, "sort", true, [&] { return sortByOneKey(table->hyo); });
    step(run, "filter", true, [&] { return filterHalf(table->hyo, records); });
    step(run, "replace", true, [&] { return replaceAll(table->hyo, records); });

    Progress::install(nullptr);
    table.reset();
    BigTable::removeScratchFolder();
    std::printf("%s (%d messages)\n", run.failures ? "ROUND TRIP FAILED" : "round trip passed", prompt.messages);
    return run.failures ? 1 : 0;
}
