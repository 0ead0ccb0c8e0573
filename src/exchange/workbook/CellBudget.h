// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <exception>

// The cells a reader would make are more than the file can account for: repeats or shared strings
// that turn a few kilobytes into gigabytes. Callers turn it into the error the user reads, which
// names the file.
class ECellBudgetExceeded : public std::exception {
public:
    const char* what() const noexcept override { return "cell budget exceeded"; }
};

// What the cells read from a part of a workbook may hold in all: one cell for each byte of the
// part (a million at least, for what repeats make of small files; never more than any worksheet
// Quillery can import) and 16 characters of text for each, on top of the text the file holds
// once as it is (shared strings), counted for every cell that shows it.
class TCellBudget {
public:
    explicit TCellBudget(size_t partBytes, size_t textInFile = 0);
    // Counts one more cell showing text of that length; throws ECellBudgetExceeded past the budget.
    void Take(size_t textLength);

private:
    size_t FCellsLeft;
    size_t FTextLeft;
};
