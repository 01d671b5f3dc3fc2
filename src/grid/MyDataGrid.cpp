#include "MyDataGrid.h"

#include "GridCompare.h"

int CMyDataGrid::CompareDigits(const CDataGridCellBase* a, const CDataGridCellBase* b,
                               std::intptr_t)
{
    if (!a || !b)
        return 0;
    return gridcmp::DigitsOnly(a->GetText(), b->GetText());
}

int CMyDataGrid::CompareDecimal(const CDataGridCellBase* a, const CDataGridCellBase* b,
                                std::intptr_t)
{
    if (!a || !b)
        return 0;
    return gridcmp::DecimalComma(a->GetText(), b->GetText());
}
