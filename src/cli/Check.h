// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class TDataFile;

// Every broken invariant of a loaded data file, one line each naming its category: ids that are
// not positive, repeated or above their counter; value indexes not numbered in template order;
// records whose value count differs from the number of text boxes; columns naming no text box.
std::vector<std::string> FindDataFileProblems(const TDataFile& dataFile);
