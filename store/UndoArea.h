// UndoArea: the bulk-recording protocol every multi-cell operation follows around its change.
#pragma once

#include "store/CMyUndo.h"

// Usage:
//   UndoArea area(hyo.journal(), UndoCellText, 0, c1, r1, c2, r2);
//   for (row...) { for (col...) hyo.setCell(col, row, nullptr); area.nextRow();
//                  if (!area.collecting()) break; }
//   if (!area.commit()) return -1;      // the user declined going on without undo
//   ... apply the change; recording stays off until the UndoArea is destroyed ...
class UndoArea {
public:
    UndoArea(CMyUndo& journal, int kind, int subKind, int column1, int row1, int column2,
             int row2);
    ~UndoArea();
    UndoArea(const UndoArea&) = delete;
    UndoArea& operator=(const UndoArea&) = delete;

    // True while the area is open and still collecting (false once abandoned as too large).
    bool collecting() const;
    // Appends the next-row marker while collecting.
    void nextRow();
    // Closes the area. True to go on (kept, nothing was recorded, or the user accepted an
    // emptied journal); false when the user chose No (nothing stored). After true, recording
    // is off until destruction.
    bool commit();
    // After commit: the step was stored, so one undo takes the change back.
    bool kept() const { return kept_; }

private:
    CMyUndo& journal_;
    bool opened_ = false;
    bool committed_ = false;
    bool recordingOff_ = false;
    bool kept_ = false;
    bool previousRecording_ = true;
};
