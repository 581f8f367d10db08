// Replays the reader fuzz corpus (fuzz/corpus/reader) in the normal test run: every input is
// read by the parser in every separator and quote setting and by the open flow, and what comes
// out must be fit for the store.
#include "ReaderFixtures.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// A field the store can take: no control byte but CR LF (and TAB where allowed), no lead byte
// without its second byte, no lone CR or LF.
::testing::AssertionResult fitForStore(const std::string& text, bool tabAllowed) {
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (CodePage::isLeadByte(c)) {
            if (i + 1 >= text.size() || static_cast<unsigned char>(text[i + 1]) < 0x20)
                return ::testing::AssertionFailure() << "broken pair at " << i;
            ++i;
        } else if (c == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n')
                return ::testing::AssertionFailure() << "lone CR at " << i;
            ++i;
        } else if (c < 0x20 && !(c == '\t' && tabAllowed)) {
            return ::testing::AssertionFailure() << "control byte " << int(c) << " at " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(CorpusReplay, EveryInputReadsIntoWellFormedFieldsAndRows) {
    std::vector<fs::path> files = corpusFiles();
    ASSERT_FALSE(files.empty()) << readerCorpusFolder();
    TempHome home;
    ScriptedPrompt prompt;
    prompt.allowUnscripted();
    for (const fs::path& file : files) {
        std::string bytes = bytesOf(file);
        if (bytes.empty()) continue;
        std::string path = home.write("input", bytes.substr(1));   // the first byte: options
        SCOPED_TRACE(file.filename().string());
        for (char separator : {'\0', ',', '\t'}) {
            for (bool strict : {false, true}) {
                CMyCSV csv;
                int status = 0;
                Table table = readAll(path, separator, strict, true, 0, true, &status, &csv);
                EXPECT_TRUE(status <= 0 || status == 1001) << status;
                for (const auto& record : table) {
                    EXPECT_LE(record.size(), static_cast<size_t>(CMyCSV::MaxKeptFields));
                    for (const std::string& field : record) EXPECT_TRUE(fitForStore(field, false));
                }
                int kind = csv.lineEndingKind();
                EXPECT_TRUE(kind >= 0 && kind <= 2);
            }
        }
        for (int typeOption : {TypeNone, TypeComma, TypeTab, TypeTabNoQuotes}) {
            CMyGlobal global;
            global.setColourFileMode(0);
            CMyHyo hyo;
            DocumentState doc;
            OpenFlow flow(hyo, global, doc);
            int rc = flow.openFile(path, (bytes[0] & 0x80) != 0, "", typeOption);
            EXPECT_TRUE(rc == OpenFlow::Loaded || rc == OpenFlow::CancelledOrReadError ||
                        rc == OpenFlow::Refused) << rc;
            for (int row = 0; row < hyo.storeRowCount(); ++row)
                EXPECT_TRUE(fitForStore(hyo.rowString(row), true)) << "row " << row;
        }
    }
}
