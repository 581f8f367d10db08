// Fuzz target for the reader: arbitrary file bytes through CMyCSV and the open flow.
// The first input byte chooses the read encoding (bits 0-1), the separator (bits 2-3), strict
// quotes (bit 4), quotes active (bit 5) and whether the open flow runs as well (bit 6).
#include "fuzz/FuzzInputFile.h"
#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyCSV.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/TableLimits.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {


void require(bool condition) {
    if (!condition) std::abort();
}

// What the store may be given: no control byte but TAB and CR LF, no lead byte without its
// second byte, no TAB inside a field.
void checkField(const char* text, int length, bool tabAllowed) {
    require(length <= CMyCSV::MaxQuotedTabField + 2);
    for (int i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (CodePage::isLeadByte(c)) {
            require(i + 1 < length);
            auto t = static_cast<unsigned char>(text[++i]);
            require(t >= 0x20);
        } else if (c == '\r') {
            require(i + 1 < length && text[i + 1] == '\n');
            ++i;
        } else {
            require(c >= 0x20 || (c == '\t' && tabAllowed));
        }
    }
}


void readWithParser(const std::string& path, uint8_t options) {
    static const int encodings[] = {-1, 0, 10, 15};
    int encoding = encodings[options & 3];
    CMyCSV csv;
    if (csv.open(path, encoding < 0 ? 0 : encoding, encoding < 0) != 0) return;
    int separatorChoice = (options >> 2) & 3;
    if (separatorChoice == 0) csv.detectSeparator();
    else csv.setSeparator(separatorChoice == 1 ? ',' : '\t');
    csv.setStrictQuotes(options & 0x10);
    csv.setQuotesActive(options & 0x20);
    for (int records = 0; records < 1000000; ++records) {
        int n = csv.readRecord();
        if (n <= 0) break;
        require(csv.keptFields() == (n < CMyCSV::MaxKeptFields ? n : CMyCSV::MaxKeptFields));
        for (int i = 0; i < csv.keptFields(); ++i)
            checkField(csv.field(i), csv.fieldLength(i), false);
    }
    require(csv.lineEndingKind() >= 0 && csv.lineEndingKind() <= 2);
}

void readWithOpenFlow(const std::string& path, uint8_t options) {
    CMyGlobal global;
    global.setColourFileMode(0);
    global.setReadEncoding((options & 3) == 1 ? 0 : -1);
    global.setFileQuoteLineBreakOnly(options & 0x10);
    CMyHyo hyo;
    DocumentState doc;
    OpenFlowWindow window;
    window.editorLineHeight = [] { return 12; };
    window.scrollBarHeight = [] { return 200; };
    OpenFlow flow(hyo, global, doc, window);
    flow.openFile(path, options & 0x80, "", ((options >> 2) & 3) == 3 ? TypeTabNoQuotes : TypeNone);
    require(hyo.storeRowCount() <= TableLimits::maxRows());
    // Cell texts (the row may also hold a height record) are fit for the store.
    for (int row = 0; row < hyo.storeRowCount(); ++row) {
        require(hyo.cellCount(row) <= OpenFlow::MaxColumns);
        for (int column = 0; column < hyo.cellCount(row); ++column) {
            std::string text = hyo.cellString(column, row);
            checkField(text.data(), static_cast<int>(text.size()), false);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FixedAnswerPrompt prompt(PromptAnswer::Ok);
    Prompt::install(&prompt);
    if (size == 0) return 0;
    uint8_t options = data[0];
    std::string path = writeFuzzInput("/tmp/vexil-fuzz-reader-XXXXXX", data + 1, size - 1);
    readWithParser(path, options);
    if (options & 0x40) readWithOpenFlow(path, options);
    unlink(path.c_str());
    return 0;
}
