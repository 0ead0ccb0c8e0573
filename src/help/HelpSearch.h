// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <memory>
#include <vector>

class QTextDocument;

// A help page that holds the words searched for, and how often.
struct THelpSearchHit {
    QString Title;
    QUrl Page;
    int Matches = 0;
};

// The search of every help page: the pages' texts are read once (as the help window shows them,
// generated tables included) and then searched as the find in a page searches, so that a page
// listed here always has the words when it is opened.
class THelpSearch {
public:
    THelpSearch();
    ~THelpSearch();

    // Forgets the pages read before.
    void Clear();
    // Adds a page in reading order, with its title and its HTML.
    void AddPage(const QString& title, const QUrl& page, const QString& html);

    // The pages that hold text (case ignored), most matches first, pages with as many in reading
    // order. Nothing for an empty text.
    QList<THelpSearchHit> Find(const QString& text) const;

private:
    struct TPage {
        QString Title;
        QUrl Page;
        std::unique_ptr<QTextDocument> Document;
    };
    std::vector<TPage> FPages;
};
