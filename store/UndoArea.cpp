// UndoArea: opens an undo area, asks before going on without undo, and keeps recording off.
#include "store/UndoArea.h"

#include "platform/core/Prompt.h"

namespace {
const char* const kTooMuchForUndo = "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？";
}

UndoArea::UndoArea(CMyUndo& journal, int kind, int subKind, int column1, int row1, int column2, int row2)
    : journal_(journal) {
    opened_ = journal_.openArea(kind, subKind, column1, row1, column2, row2) == 1;
}

UndoArea::~UndoArea() {
    if (opened_ && !committed_) journal_.closeArea(false);
    if (recordingOff_) journal_.setRecording(previousRecording_);
}

bool UndoArea::collecting() const { return opened_ && !committed_ && journal_.areaOpen(); }

void UndoArea::nextRow() {
    if (collecting()) journal_.appendMarker(UndoNextRow);
}

bool UndoArea::commit() {
    if (committed_) return true;
    committed_ = true;
    kept_ = opened_ && journal_.closeArea(true) == 1;
    if (opened_ && !kept_) {
        PromptAnswer answer = Prompt::messageBox(kTooMuchForUndo, "確認", PromptButtons::YesNo,
                                                 PromptIcon::Warning, PromptAnswer::No);
        if (answer != PromptAnswer::Yes) return false;
        journal_.clear();
    }
    previousRecording_ = journal_.setRecording(false);
    recordingOff_ = true;
    return true;
}
