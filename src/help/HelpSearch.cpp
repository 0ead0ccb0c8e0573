// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpSearch.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

THelpSearch::THelpSearch() = default;

THelpSearch::~THelpSearch() = default;

void THelpSearch::Clear() {
    FPages.clear();
}

void THelpSearch::AddPage(const QString& title, const QUrl& page, const QString& html) {
    auto document = std::make_unique<QTextDocument>();
    // The style sheet a page links to is read from beside the page, as the browser reads it.
    document->setBaseUrl(page);
    document->setHtml(html);
    FPages.push_back({title, page, std::move(document)});
}

QList<THelpSearchHit> THelpSearch::Find(const QString& text) const {
    QList<THelpSearchHit> hits;
    if (text.isEmpty()) {
        return hits;
    }
    for (const TPage& page : FPages) {
        int matches = 0;
        for (QTextCursor found = page.Document->find(text); !found.isNull();
             found = page.Document->find(text, found)) {
            ++matches;
        }
        if (matches > 0) {
            hits.append({page.Title, page.Page, matches});
        }
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const THelpSearchHit& a, const THelpSearchHit& b) { return a.Matches > b.Matches; });
    return hits;
}
