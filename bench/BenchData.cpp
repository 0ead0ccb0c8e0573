// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchData.h"

#include "core/Category.h"

const char* const kBenchFilterText = "Harbour";

uint32_t TBenchRandom::Below(uint32_t n) {
    // Engine values below the threshold would make the low results more likely; draw again.
    const uint32_t threshold = (0u - n) % n;
    uint32_t value;
    do
        value = static_cast<uint32_t>(FEngine());
    while (value < threshold);
    return value % n;
}

namespace {

const char* const kVocabulary[] = {
    "Anders",
    "Beatrix",
    "Carlsson",
    "Dalby",
    "elm",
    "Fiskargatan",
    "garden",
    "Hill",
    "invoice",
    "Jensen",
    "kitchen",
    "Lake",
    "meeting",
    "North",
    "office",
    "Park",
    "quay",
    "River",
    "street",
    "Tower",
    "umbrella",
    "Valley",
    "west",
    "Xavier",
    "yard",
    "Zone",
    "and",
    "of",
    "the",
    "road",
    "St.",
    "Apt",
    "no.",
    "_draft",
    "e-mail",
    "(home)",
    "@work",
    "[x]",
    "a",
    "to",
    // Beyond ASCII: accented letters (whose capitals do not fold), other scripts.
    "Müller",
    "café",
    "Ölund",
    "señora",
    "Straße",
    "Ærø",
    "naïve",
    "Łódź",
    "Ελλάδα",
    "東京",
    "ÉCOLE",
};
// The filter text standing as a word in any case; the separators beside it are no letters.
const char* const kFilterWords[] = {"Harbour", "harbour", "HARBOUR", "harbour-side", "Harbour7"};
// The filter text inside longer words: only the plain filter finds these.
const char* const kFilterParts[] = {"harbourside", "Newharbour", "HARBOURS", "harbourmaster"};

template <size_t N> const char* Pick(TBenchRandom& random, const char* const (&list)[N]) {
    return list[random.Below(static_cast<uint32_t>(N))];
}

void AppendWord(TBenchRandom& random, std::string& out) {
    const uint32_t roll = random.Below(1000);
    if (roll < 4) {
        out += Pick(random, kFilterWords);
    } else if (roll < 8) {
        out += Pick(random, kFilterParts);
    } else if (roll < 120) {
        const uint32_t digits = 1 + random.Below(7);
        for (uint32_t i = 0; i < digits; ++i)
            out += static_cast<char>('0' + random.Below(10));
    } else {
        out += Pick(random, kVocabulary);
    }
}

// Words separated by blanks up to a length drawn from 1 to limit, never above limit.
std::string MakeLine(TBenchRandom& random, size_t limit) {
    const size_t target = 1 + random.Below(static_cast<uint32_t>(limit));
    std::string line;
    std::string word;
    for (int misses = 0; line.size() < target && misses < 4;) {
        word.clear();
        AppendWord(random, word);
        const size_t needed = word.size() + (line.empty() ? 0 : 1);
        if (line.size() + needed > limit) {
            ++misses;
            continue;
        }
        if (!line.empty())
            line += ' ';
        line += word;
    }
    return line;
}

std::string MakeValue(TBenchRandom& random, bool memo) {
    if (random.Below(100) < 8)
        return {};
    if (!memo)
        return MakeLine(random, kBenchMaxValueBytes);
    const uint32_t lines = 1 + random.Below(4);
    const size_t lineLimit = (kBenchMaxValueBytes - 2 * (lines - 1)) / lines;
    std::string value;
    for (uint32_t i = 0; i < lines; ++i) {
        if (i > 0)
            value += "\r\n";
        // Blank lines too, so some memos show an empty cell.
        if (random.Below(10) > 0)
            value += MakeLine(random, lineLimit);
    }
    return value;
}

} // namespace

std::unique_ptr<TDataFile> MakeBenchDataFile(int32_t recordCount, uint32_t seed) {
    auto dataFile = std::make_unique<TDataFile>();
    TCategory* category = dataFile->AddCategory();
    category->Name = "Addresses";
    const TFont font{"Sans Serif", 0, 8, 0};
    for (int32_t i = 0; i < kBenchTextBoxes; ++i) {
        const bool memo = i >= kBenchTextBoxes - kBenchMemoBoxes;
        const std::string caption = "Field " + std::to_string(i + 1);
        const int32_t top = 12 + 30 * i;
        category->AddElement(kKindLabel, 12, top, 90, 18, 0, font, caption);
        const int32_t id = category->AddElement(memo ? kKindMemo : kKindEdit, 108, top, 240, memo ? 60 : 21,
                                                0xFFFFFF, font, "");
        if (i < 4) {
            category->Columns.push_back(std::make_unique<TListColumn>());
            category->Columns.back()->ElementID = id;
            category->Columns.back()->Width = 120;
            category->Columns.back()->Caption = caption;
        }
    }
    category->RenumberValueIndexes();

    TBenchRandom random(seed);
    for (int32_t r = 0; r < recordCount; ++r) {
        TRecord* record = category->NewRecord();
        for (int32_t i = 0; i < kBenchTextBoxes; ++i)
            record->SetValue(i, MakeValue(random, i >= kBenchTextBoxes - kBenchMemoBoxes));
    }
    return dataFile;
}

TBenchRows RowsOf(const TCategory& category) {
    TBenchRows rows;
    rows.reserve(category.Records.size());
    for (const auto& record : category.Records) {
        auto& row = rows.emplace_back();
        row.reserve(static_cast<size_t>(record->Count()));
        for (int32_t i = 0; i < record->Count(); ++i)
            row.emplace_back(record->Value(i));
    }
    return rows;
}
