// SaveFormHandler: installation point and the rules shared by the save forms.
#include "store/SaveFormHandler.h"

#include "platform/core/Prompt.h"

namespace {
SaveFormHandler* current = nullptr;
}

void SaveFormHandler::install(SaveFormHandler* handler) { current = handler; }

SaveFormHandler* SaveFormHandler::installed() { return current; }

int SaveFormHandler::encodingEntry(int encoding) {
    // A big-endian UTF-16 document is offered as UTF-16 (written little-endian when chosen).
    if (encoding == 10 || encoding == 11) return 2;
    if (encoding == 15) return 1;
    return 0;
}

int SaveFormHandler::encodingForEntry(int entry) {
    static const int codes[] = {0, 15, 10};
    return (entry >= 0 && entry <= 2) ? codes[entry] : 0;
}

bool SaveFormHandler::acceptExportRange(int firstRow, int lastRow) {
    if (firstRow <= lastRow) return true;
    Prompt::warn("開始行が終了行より大きいです。");
    return false;
}
