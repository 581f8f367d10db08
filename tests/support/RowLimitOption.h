// RowLimitOption: sets the row option for one test and puts the default back afterwards, so
// the tests that follow in the same executable see the usual limit.
#pragma once

#include "store/TableLimits.h"

class RowLimitOption {
public:
    explicit RowLimitOption(int rows) { TableLimits::setMaxRows(rows); }
    ~RowLimitOption() { TableLimits::setMaxRows(500000); }
    RowLimitOption(const RowLimitOption&) = delete;
    RowLimitOption& operator=(const RowLimitOption&) = delete;
};
