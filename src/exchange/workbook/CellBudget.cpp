// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/CellBudget.h"

#include <algorithm>

namespace {
constexpr size_t kMinCells = size_t(1) << 20;
constexpr size_t kMaxCells = size_t(16) << 20;
constexpr size_t kTextPerCell = 16;
} // namespace

TCellBudget::TCellBudget(size_t partBytes, size_t textInFile)
    : FCellsLeft(std::clamp(partBytes, kMinCells, kMaxCells)),
      FTextLeft(kTextPerCell * std::max(partBytes, kMinCells) + textInFile) {}

void TCellBudget::Take(size_t textLength) {
    if (FCellsLeft == 0 || textLength > FTextLeft)
        throw ECellBudgetExceeded();
    --FCellsLeft;
    FTextLeft -= textLength;
}
