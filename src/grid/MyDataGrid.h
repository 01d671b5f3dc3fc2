// The list windows' grid: CDataGrid plus two compares for columns of numbers.
#pragma once

#include "DataGrid.h"

class CMyDataGrid : public CDataGrid {
public:
    ~CMyDataGrid() override = default;
    // Only the digits count: "14.200.000" is 14200000.
    static int CompareDigits(const CDataGridCellBase* a, const CDataGridCellBase* b,
                             std::intptr_t data);
    // Digits with ',' as the decimal point: "1,5" is 1.5 and "1.5" is 15.
    static int CompareDecimal(const CDataGridCellBase* a, const CDataGridCellBase* b,
                              std::intptr_t data);
};
