// RedoJournal: what each undo took away, kept so that redo can put it back.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "store/LineChangeLog.h"

class CMyHyo;
class CMyUndo;
struct UndoPosition;

// While an undo replays, the row and column lists note their old lines (LineChangeLog) and the
// filter list, header flag and width are kept beside them. Redo takes the newest of these
// steps back and makes the undone journal entry reachable again, so undo and redo alternate
// over the same entries. The steps belong to the journal's popped entries: once those are
// thrown away (a new change, a cleared journal) the steps are dropped too. The steps count
// against the journal's limit beside its entries (CMyUndo::setOutsideBytes): when they do not
// fit, the oldest undo entries go first, then the undone steps redo would reach last; a step
// that does not fit even alone ends redo there (older undone steps need it redone first).
class RedoJournal {
public:
    RedoJournal();
    ~RedoJournal();
    RedoJournal(const RedoJournal&) = delete;
    RedoJournal& operator=(const RedoJournal&) = delete;

    // Around the replay of one popped entry; `at` is where the undo left the cursor.
    void beginUndo(CMyHyo& hyo);
    void endUndo(CMyHyo& hyo, const UndoPosition& at);
    // Puts back the newest undone step; (-1, -1) when there is none.
    UndoPosition redo(CMyHyo& hyo);
    int count(const CMyUndo& journal) const;
    void clear();
    // Forgets every undone step (their journal entries are gone).
    void dropSteps();
    // Forgets every undone step and throws their popped entries away.
    void forget(CMyUndo& journal) { giveUp(journal); }

private:
    struct Step;
    bool current(const CMyUndo& journal) const;
    void giveUp(CMyUndo& journal);

    std::vector<std::unique_ptr<Step>> steps_;
    std::unique_ptr<Step> open_;
    unsigned long serial_ = 0;
};
