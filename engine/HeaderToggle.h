// HeaderToggle: takes the first row as the column titles, or puts the titles back as the
// first row, as one undo step.
#pragma once

#include "engine/EditOutcome.h"

class CMyHyo;

class HeaderToggle {
public:
    static constexpr int MaxTitleBytes = 60;

    // Refuses (with a message) while filtered, without a first row, or when a first-row cell
    // is too long for a title. Done: render, raise the ranges and put the cursor on (0, 0).
    static EditOutcome toggle(CMyHyo& hyo);
};
