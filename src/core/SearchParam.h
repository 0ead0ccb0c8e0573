// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TRecord;

// The filter's parameters for one run.
class TSearchParam {
public:
    std::string FilterText; // ASCII capitals folded to small letters
    bool WholeWord = false;
    bool Matched = false;

    // Sets FilterText from the filter box's bytes, folded.
    void SetFilterText(std::string_view text);
    // Tests one record; text is a scratch buffer reused across records. Sets and returns Matched.
    bool Test(const TRecord& record, std::string& text);
};

// The record's text as the filter sees it: every value in value-index order, each followed by
// CR LF, with A-Z folded to a-z. Written into text, which is cleared first.
void BuildRecordText(const TRecord& record, std::string& text);

// Plain substring test.
inline bool ContainsText(std::string_view text, std::string_view filter) {
    return text.find(filter) != std::string_view::npos;
}

// Whether filter occurs in text as a whole word: the bytes beside an occurrence are no small
// letters a-z (or the text ends there). After a rejected occurrence the search goes on at the
// next byte, so an occurrence that overlaps a rejected one is still examined.
bool MatchWholeWord(std::string_view text, std::string_view filter);

// The records that pass param, in their order. A long run calls yield about every sliceMs
// milliseconds, so that a window can process its messages meanwhile; yield must not change the
// records.
std::vector<TRecord*> FilterRecords(const std::vector<std::unique_ptr<TRecord>>& records, TSearchParam& param,
                                    const std::function<void()>& yield, int sliceMs = 100);

namespace SearchParamTesting {
// Makes the filter look for a filter's start sixteen places at a time, or thirty-two where the
// processor can (as it does by default); false when it cannot.
bool UseWideScan(bool wide);
} // namespace SearchParamTesting
