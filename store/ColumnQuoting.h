// ColumnQuoting: how each column's cells were enclosed in the file as it was read.
#pragma once

#include <vector>

// The reader notes every field; a save that keeps the file's own form asks, per column,
// whether its non-empty cells and its empty cells go in double quotes. A column whose cells
// came in both forms, a column the file did not have and a table typed from scratch give no
// answer ("not known"): such cells follow the ordinary quoting rule. Column structure changes
// (insert, delete) move the notes with their columns.
class ColumnQuoting {
public:
    void reset() { seen.clear(); }

    // One field of a record as it was read: empty or not, enclosed in quotes or bare.
    void note(int column, bool empty, bool enclosed) {
        const unsigned char form = static_cast<unsigned char>((empty ? 2 : 0) + (enclosed ? 1 : 0));
        if (column >= 0) noteRecord(&form, 1, column);
    }
    // The fields of one record from `first` on, each form enclosed + 2 * empty. Runs for every
    // record of a file, so it is one pass without branches.
    void noteRecord(const unsigned char* forms, int count, int first = 0) {
        if (count <= 0) return;
        if (static_cast<std::size_t>(first + count) > seen.size()) seen.resize(first + count, 0);
        unsigned char* s = seen.data() + first;
        for (int i = 0; i < count; ++i) s[i] |= static_cast<unsigned char>(1u << (forms[i] & 3));
    }

    // Whether a non-empty (empty) cell of the column is written enclosed. A column without
    // non-empty (empty) cells follows its other kind, so that a column of "" only still
    // encloses what is typed into it.
    bool enclosesText(int column) const { return decide(column, TextEnclosed, TextBare, EmptyEnclosed, EmptyBare); }
    bool enclosesEmpty(int column) const { return decide(column, EmptyEnclosed, EmptyBare, TextEnclosed, TextBare); }

    // `count` new columns from `first` on: nothing is known of them.
    void insertColumns(int first, int count);
    // Columns first..last are gone; the ones after them move left.
    void deleteColumns(int first, int last);

    int knownColumns() const { return static_cast<int>(seen.size()); }
    bool operator==(const ColumnQuoting&) const = default;

private:
    enum : unsigned char { TextBare = 1, TextEnclosed = 2, EmptyBare = 4, EmptyEnclosed = 8 };

    bool decide(int column, unsigned char yes, unsigned char no, unsigned char otherYes,
                unsigned char otherNo) const {
        if (column < 0 || static_cast<std::size_t>(column) >= seen.size()) return false;
        const unsigned char s = seen[column];
        if (s & (yes | no)) return (s & yes) && !(s & no);
        return (s & otherYes) && !(s & otherNo);
    }

    std::vector<unsigned char> seen;   // per column, the forms met (bits above)
};
