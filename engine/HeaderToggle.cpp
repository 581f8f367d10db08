// HeaderToggle: the first row as header, on and off.
#include "engine/HeaderToggle.h"

#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"

#include <cstdio>

EditOutcome HeaderToggle::toggle(CMyHyo& hyo) {
    if (hyo.isFiltered()) {
        Prompt::warn("抽出中は出来ません。");
        return {};
    }
    const bool turningOn = !hyo.inHeaderMode();
    if (turningOn) {
        if (hyo.rowCount() < 1 || hyo.cellCount(0) < 1) {
            Prompt::warn("ヘッダーに指定する項目がありません。");
            return {};
        }
        for (int column = 0; column < hyo.cellCount(0); ++column) {
            if (static_cast<int>(hyo.cellString(column, 0).size()) > MaxTitleBytes) {
                char message[80];
                std::snprintf(message, sizeof message, "%d列目のサイズが大きすぎます。", column + 1);
                Prompt::warn(message);
                return {};
            }
        }
    }
    if (hyo.journal().recording() && hyo.clearHeaderForUndo() != 0) return {};
    const bool wasRecording = hyo.journal().setRecording(false);
    if (turningOn) hyo.takeHeaderRow();
    else hyo.restoreHeaderRow();
    hyo.journal().setRecording(wasRecording);
    return {.render = true, .raiseRanges = true, .moveCursor = true, .column = 0, .row = 0};
}
