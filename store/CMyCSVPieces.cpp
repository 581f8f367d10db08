// CMyCSV: what reading a file in pieces on several threads needs of the parsers - text handed
// over whole, the counts of a piece, the file's decoded text and a fresh start.
#include "store/CMyCSV.h"

int CMyCSV::cellCount() const {
    const int kept = keptFields();
    if (kept == 0) return 0;
    if (fieldLength(kept - 1) > 0) return kept;
    if (kept >= 2 && fieldLength(kept - 2) > 0) return kept;
    for (int i = kept - 1; i >= 0; --i)
        if (fieldLength(i) > 0) return i + 1;
    return 0;
}

RecordView CMyCSV::takeRecord(int count) {
    RecordView view;
    view.count = count;
    view.kept = keptFields();
    view.cells = cellCount();
    view.lineBreak = recordHasLineBreak();
    view.forms = fieldForms();
    view.row = joinKeptFields(view.length);
    return view;
}

void CMyCSV::readFromText(const char* text, std::size_t length, bool final) {
    input = text;
    cursor = 0;
    inputEnd = length;
    inputEof = final;
    spanMode = true;
    resumePending = false;
    resumeAt = 0;
    unterminatedEnd = false;
}

bool CMyCSV::takeSettingsOf(const CMyCSV& other) {
    fieldSeparator = other.fieldSeparator;
    quotesActive = other.quotesActive;
    strictQuotes = other.strictQuotes;
    setCounts(Counts{});
    if (!allocateFieldBuffer()) return false;
    fieldEnds.reserve(MaxKeptFields + 1);
    return true;
}

CMyCSV::Counts CMyCSV::counts() const {
    return Counts{recordCount, crlfCount, crCount, lfCount, replacedTabs, brokenLeads, unterminatedEnd};
}

void CMyCSV::setCounts(const Counts& c) {
    recordCount = c.records;
    crlfCount = c.crlf;
    crCount = c.cr;
    lfCount = c.lf;
    replacedTabs = c.tabs;
    brokenLeads = c.brokenLeads;
    unterminatedEnd = c.unterminated;
}

void CMyCSV::addCounts(const Counts& piece) {
    Counts sum = counts();
    sum.records += piece.records;
    sum.crlf += piece.crlf;
    sum.cr += piece.cr;
    sum.lf += piece.lf;
    sum.tabs += piece.tabs;
    sum.brokenLeads += piece.brokenLeads;
    sum.unterminated = sum.unterminated || piece.unterminated;
    setCounts(sum);
}

bool CMyCSV::appendFileText(std::string& into, std::size_t want, bool& ended) {
    ended = false;
    const std::size_t goal = into.size() + want;
    while (into.size() < goal) {
        int length = 0;
        const char* piece = file.readChunk(length);
        if (!piece) {
            readFailed();
            return false;
        }
        if (length == 0) {
            ended = true;
            break;
        }
        into.append(piece, static_cast<std::size_t>(length));
        fetched += length;
    }
    return true;
}

bool CMyCSV::restart() {
    if (file.rewindToData() < -1) return false;
    setCounts(Counts{});
    fetched = 0;
    message.clear();
    beginInput();
    return true;
}
