#include "DataSearchParam.h"

#include "DataCategory.h"
#include "DataGlobalProc.h"

void TSearchParam::SetFilterText(std::string_view text) {
    FilterText.assign(text.data(), text.size());
    FoldAsciiLower(FilterText);
}

bool TSearchParam::Test(const TRecord& record, std::string& text) {
    BuildRecordText(record, text);
    Matched = ContainsText(text, FilterText);
    if (Matched && WholeWord)
        Matched = MatchWholeWord(text, FilterText);
    return Matched;
}

void BuildRecordText(const TRecord& record, std::string& text) {
    text.clear();
    for (int32_t i = 0; i < record.Count(); ++i) {
        text.append(record.Value(i));
        text.append("\r\n");
    }
    FoldAsciiLower(text);
}

namespace {
inline bool IsWordByte(char c) {
    return c >= 'a' && c <= 'z';
}
} // namespace

bool MatchWholeWord(std::string_view text, std::string_view filter) {
    size_t start = 0;
    for (;;) {
        const size_t p = text.find(filter, start);
        if (p == std::string_view::npos)
            return false;
        const size_t end = p + filter.size();
        const bool leftClear = p == 0 || !IsWordByte(text[p - 1]);
        const bool rightClear = end == text.size() || !IsWordByte(text[end]);
        if (leftClear && rightClear)
            return true;
        // An occurrence may overlap the rejected one, so the search goes on at the next byte.
        start = p + 1;
    }
}
