// SPDX-License-Identifier: GPL-3.0-or-later
// The import's fast ways through a worksheet against the plain ones: a row's texts read as UTF-8
// against each cell's CellText, the packed cell grid against a map of what was written, and a
// worksheet part scanned in pieces against the text its cells hold wherever a piece ends.

#include "MinimalPackage.h"
#include "WorkbookTestSupport.h"

#include "exchange/workbook/CellGrid.h"

#include <QMap>
#include <QTemporaryDir>

class TestRowTexts : public QObject {
    Q_OBJECT

private slots:
    void FastReadMatchesPlain_data();
    void FastReadMatchesPlain();
    void GridHoldsWhatWasWritten_data();
    void GridHoldsWhatWasWritten();
    void PieceEnds_data();
    void PieceEnds();
    void WholePartChecked_data();
    void WholePartChecked();
};

namespace {
// Rows 1 to 3, columns A to D.
constexpr int kRows = 3;
constexpr int kColumns = 4;

std::unique_ptr<TWorkbook> OpenPackage(const QTemporaryDir& folder, const QByteArray& bytes) {
    const QString path = folder.filePath(QStringLiteral("rows.xlsx"));
    WriteFileBytes(path, bytes);
    return TWorkbook::Open(path);
}

QByteArray InlineCell(const QByteArray& reference, const QByteArray& text) {
    return "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}
} // namespace

void TestRowTexts::FastReadMatchesPlain_data() {
    QTest::addColumn<QByteArray>("cells"); // of sheetData
    QTest::addColumn<int>("shown");        // cells in rows 1 to 3, columns A to D, that show a text
    QTest::newRow("empty cells") << QByteArray(
                                        "<row r=\"1\"><c r=\"A1\"/><c r=\"B1\" t=\"inlineStr\"><is><t/></is>"
                                        "</c><c r=\"C1\" t=\"s\"><v>2</v></c></row>")
                                 << 0;
    QTest::newRow("inline strings, rich runs and phonetic runs")
        << "<row r=\"1\">" + InlineCell("A1", " lead and trail ") +
               "<c r=\"B1\" t=\"inlineStr\"><is><r><t>one "
               "</t></r><r><t>two</t></r><rPh><t>x</t></rPh></is></c>"
               "</row>"
        << 2;
    QTest::newRow("shared strings with blanks") << QByteArray("<row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c>"
                                                              "<c r=\"B2\" t=\"s\"><v>1</v></c><c r=\"D2\" "
                                                              "t=\"s\"><v>0</v></c></row>")
                                                << 3;
    QTest::newRow("numbers, dates, booleans and errors")
        << QByteArray(
               "<row r=\"1\"><c r=\"A1\"><v>1.50</v></c><c r=\"B1\" s=\"1\"><v>45000</v></c>"
               "<c r=\"C1\" t=\"b\"><v> 1 </v></c><c r=\"D1\" t=\"e\"><v>#N/A</v></c></row>"
               "<row r=\"2\"><c r=\"A2\"><v>12345678901234567890</v></c><c r=\"B2\" s=\"2\"><v>0.5</v></c>"
               "<c r=\"C2\" t=\"b\"><v>0</v></c><c r=\"D2\" t=\"str\"><f>A1</f><v>formula</v></c></row>")
        << 8;
    QTest::newRow("cells skipped by r=") << "<row r=\"1\">" + InlineCell("B1", "b") + InlineCell("D1", "d") +
                                                "</row><row r=\"3\">" + InlineCell("C3", "c") + "</row>"
                                         << 3;
    QTest::newRow("cells without r=")
        << QByteArray("<row><c t=\"inlineStr\"><is><t>a</t></is></c><c/><c><v>3</v></c>"
                      "</row><row><c t=\"s\"><v>0</v></c></row>")
        << 3;
    QTest::newRow("line breaks and escapes")
        << "<row r=\"1\">" + InlineCell("A1", "one\ntwo\r\nthree") +
               InlineCell("B1", "tab_x0009_and_x000D_") + InlineCell("C1", "_x005F_x0041_ _xZZZZ_") +
               InlineCell("D1", "lone _xD800_ surrogate") + "</row>"
        << 4;
    QTest::newRow("blanks and controls only")
        << "<row r=\"1\">" + InlineCell("A1", " \t ") + InlineCell("B1", "_x0001_ _x001F_") + "</row>" << 2;
    QTest::newRow("beyond ASCII") << "<row r=\"2\">" + InlineCell("A2", "Zo\xc3\xab \xe6\x9d\xb1") +
                                         InlineCell("B2", "\xf0\x9f\x98\x80 &#x1F600;&amp;&lt;") + "</row>"
                                  << 2;
    QTest::newRow("very long text") << "<row r=\"3\">" + InlineCell("A3", QByteArray(40000, 'w') + " ") +
                                           InlineCell("C3", " " + QByteArray(70000, 'x')) + "</row>"
                                    << 2;
    QTest::newRow("rows out of order") << "<row r=\"3\">" + InlineCell("A3", "three") +
                                              "</row><row r=\"1\">" + InlineCell("B1", "one") + "</row>"
                                       << 2;
}

void TestRowTexts::FastReadMatchesPlain() {
    QFETCH(QByteArray, cells);
    const QByteArray strings =
        "<sst><si><t xml:space=\"preserve\">  shared, spaced  </t></si>"
        "<si><r><t>rich </t></r><r><rPr><b/></rPr><t>runs</t></r></si><si><t/></si></sst>";
    QTemporaryDir folder;
    const auto workbook = OpenPackage(
        folder, Package({{"xl/sharedStrings.xml", strings}, {"xl/worksheets/sheet1.xml", Sheet(cells)}}));
    const TWorksheet& sheet = workbook->ActiveSheet();
    // Every column, one column, and columns out of order.
    const std::vector<std::vector<int>> columnSets = {{1, 2, 3, 4}, {3}, {4, 1, 2}};
    TRowTexts fast;
    TRowTexts plain;
    for (int row = 1; row <= kRows + 1; ++row) {
        for (const std::vector<int>& columns : columnSets) {
            sheet.ReadTexts(row, columns, fast);
            sheet.TWorksheet::ReadTexts(row, columns, plain);
            QCOMPARE(fast.Texts.size(), columns.size());
            for (size_t i = 0; i < columns.size(); ++i)
                QVERIFY2(fast.Texts[i] == plain.Texts[i],
                         qPrintable(QStringLiteral("row %1, column %2").arg(row).arg(columns[i])));
        }
    }
    // The cells were read at all, so that the comparison meant something.
    QFETCH(int, shown);
    int showing = 0;
    for (int row = 1; row <= kRows; ++row)
        for (int column = 1; column <= kColumns; ++column)
            showing += sheet.CellText(row, column).isEmpty() ? 0 : 1;
    QCOMPARE(showing, shown);
}

void TestRowTexts::GridHoldsWhatWasWritten_data() {
    // Each step: "t row column text" sets a text, "h row column" the heading format, "p row column k"
    // shows the text the k-th "t" step added.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("row-major") << QStringList{"t 1 1 a", "t 1 2 bb", "t 1 4 d", "t 2 1 c", "t 7 3 e"};
    QTest::newRow("reverse order") << QStringList{"t 3 3 c", "t 2 2 b", "t 2 1 x", "t 1 1 a"};
    QTest::newRow("a cell written again")
        << QStringList{"t 1 1 a", "t 1 1 bb", "h 1 1", "t 2 5 x", "t 2 5 ", "t 1 1 ccc"};
    QTest::newRow("a cell written again, out of order")
        << QStringList{"t 2 2 a", "t 1 1 b", "t 2 2 cc", "h 1 1", "t 1 1 ddd", "h 2 2", "t 2 2 ", "t 1 2 e"};
    QTest::newRow("heading before and after its text")
        << QStringList{"h 1 2", "t 1 2 head", "t 1 3 x", "h 1 3", "h 1 4", "h 2 1"};
    QTest::newRow("texts shown again, before and after")
        << QStringList{"t 2 2 shared", "t 2 3 other", "p 2 4 0", "p 1 1 1", "p 2 1 0", "p 5 9 0", "p 2 5 1"};
    QTest::newRow("lone surrogate and beyond the basic plane")
        << QStringList{QStringLiteral("t 1 1 ") + QChar(0xD800) + "x", QStringLiteral("t 1 2 \U0001F600"),
                       QStringLiteral("t 1 3 ") + QChar(0xDC00), QStringLiteral("t 2 1 caf\u00e9")};
    QStringList wide;
    for (int column = 16384; column >= 1; column -= 3)
        wide.append(QStringLiteral("t 1 %1 w%1").arg(column));
    for (int column = 1; column <= 16384; column += 5)
        wide.append(QStringLiteral("t 1 %1 v%1").arg(column));
    QTest::newRow("a row as wide as a worksheet, both ways") << wide;
    QStringList tall;
    for (int row = 1; row <= 3000; ++row)
        tall.append(
            QStringLiteral("t %1 %2 %3").arg(row * 7 % 3001).arg(row % 5 + 1).arg(QString(row % 300, 'y')));
    QTest::newRow("tall, in a scattered order, with long texts") << tall;
}

void TestRowTexts::GridHoldsWhatWasWritten() {
    QFETCH(QStringList, steps);
    struct TModelCell {
        QString Text;
        bool Heading = false;
    };
    QMap<QPair<int, int>, TModelCell> model;
    TCellGrid grid;
    std::vector<TCellGrid::TTextSpan> spans;
    QStringList added;
    size_t characters = 0;
    int usedRows = 0;
    int usedColumns = 0;
    for (const QString& step : steps) {
        const QStringList parts = step.split(QLatin1Char(' '));
        const int row = parts[1].toInt();
        const int column = parts[2].toInt();
        usedRows = std::max(usedRows, row);
        usedColumns = std::max(usedColumns, column);
        TModelCell& cell = model[{row, column}];
        if (parts[0] == QLatin1String("h")) {
            grid.SetHeadingStyle(row, column);
            cell.Heading = true;
        } else if (parts[0] == QLatin1String("t")) {
            const QString text = step.section(QLatin1Char(' '), 3);
            spans.push_back(grid.SetText(row, column, text));
            added.append(text);
            characters += size_t(text.size());
            cell.Text = text;
        } else {
            const int k = parts[3].toInt();
            grid.SetPlacedText(row, column, spans[size_t(k)]);
            cell.Text = added[k];
        }
    }
    QCOMPARE(grid.UsedRows(), usedRows);
    QCOMPARE(grid.UsedColumns(), usedColumns);
    QCOMPARE(grid.TextSize(), characters);
    QCOMPARE(grid.CellCount(), size_t(model.size()));
    const std::vector<TCellGrid::TCell> cells = grid.Cells();
    QCOMPARE(cells.size(), size_t(model.size()));
    size_t i = 0;
    std::vector<TCellGrid::TCell> row;
    for (auto it = model.cbegin(); it != model.cend(); ++it, ++i) {
        const QString where = QStringLiteral("row %1, column %2").arg(it.key().first).arg(it.key().second);
        QVERIFY2(cells[i].Row == it.key().first && cells[i].Column == it.key().second, qPrintable(where));
        QVERIFY2(cells[i].Heading == it.value().Heading, qPrintable(where));
        QVERIFY2(TCellGrid::Decoded(cells[i].Text) == it.value().Text, qPrintable(where));
        QVERIFY2(grid.Text(it.key().first, it.key().second) == it.value().Text, qPrintable(where));
        // Cells not written read as empty.
        QVERIFY2(grid.Text(it.key().first, it.key().second + 16384).isEmpty(), qPrintable(where));
    }
    // Read a row at a time, the cells come in column order.
    for (int r = 0; r <= usedRows + 1; ++r) {
        grid.ReadRow(r, row);
        int expected = 0;
        for (auto it = model.cbegin(); it != model.cend(); ++it)
            expected += it.key().first == r ? 1 : 0;
        QCOMPARE(int(row.size()), expected);
        for (size_t k = 0; k < row.size(); ++k)
            QVERIFY(TCellGrid::Decoded(row[k].Text) == model.value({r, row[k].Column}).Text &&
                    (k == 0 || row[k - 1].Column < row[k].Column));
    }
}

void TestRowTexts::PieceEnds_data() {
    QTest::addColumn<QByteArray>("inner"); // of B2's inline string
    QTest::addColumn<QString>("text");     // B2 reads
    QTest::addColumn<bool>("wholeCell");   // the piece ends at every byte of the cell, else of inner
    QTest::newRow("tags") << QByteArray("x") << "x" << true;
    QTest::newRow("character references") << QByteArray("&#x41;&amp;&#66;") << "A&B" << false;
    QTest::newRow("comment") << QByteArray("a<!-- a comment -->b") << "ab" << false;
    QTest::newRow("character data") << QByteArray("<![CDATA[<&>]]>") << "<&>" << false;
    QTest::newRow("characters of several bytes") << QByteArray("\xe6\x9d\xb1\xf0\x9f\x98\x80\xc3\xab")
                                                 << QString::fromUtf8("\u6771\U0001F600\u00eb") << false;
    QTest::newRow("CR LF") << QByteArray("a\r\nb") << "a\r\nb" << false;
}

void TestRowTexts::PieceEnds() {
    QFETCH(QByteArray, inner);
    QFETCH(QString, text);
    QFETCH(bool, wholeCell);
    // The part is read a MiB at a time: that first end is put at every byte of B2's cell or text.
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    const QByteArray cell = InlineCell("B2", inner);
    const QByteArray empty =
        Sheet("<row r=\"1\">" + InlineCell("A1", "") + "</row><row r=\"2\">" + cell + "</row>");
    const qsizetype before = empty.indexOf(cell);
    QTemporaryDir folder;
    const qsizetype first = wholeCell ? 0 : cell.indexOf(inner);
    const qsizetype last = wholeCell ? cell.size() : first + inner.size();
    for (qsizetype end = first; end <= last; ++end) {
        const QByteArray filler(kPiece - end - before, 'p');
        const auto workbook = OpenPackage(
            folder, Package({{"xl/worksheets/sheet1.xml", Sheet("<row r=\"1\">" + InlineCell("A1", filler) +
                                                                "</row><row r=\"2\">" + cell + "</row>")}}));
        const TWorksheet& sheet = workbook->ActiveSheet();
        QVERIFY2(sheet.CellText(2, 2) == text, qPrintable(QStringLiteral("piece ends at byte %1").arg(end)));
        QCOMPARE(sheet.CellText(1, 1).size(), filler.size());
    }
}

void TestRowTexts::WholePartChecked_data() {
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<bool>("tooLarge"); // else damaged
    const QByteArray over = "<row>" + QByteArray("<c t=\"s\"><v>0</v></c>").repeated(1000) + "</row>";
    const QByteArray overBudget = "<sheetData>" + over.repeated(20) + "</sheetData>";
    const QByteArray main = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    QTest::newRow("invalid UTF-8 after the cells")
        << main +
               "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData><x>\xc3\x28</x></worksheet>"
        << false;
    QTest::newRow("invalid UTF-8 pieces after the cells")
        << main + "<sheetData/><x>" + QByteArray(3 << 20, 'z') + "\xff</x></worksheet>" << false;
    QTest::newRow("past the budget") << main + overBudget + "</worksheet>" << true;
    QTest::newRow("past the budget, invalid UTF-8 after")
        << main + overBudget + "<x>" + QByteArray(2 << 20, 'z') + "\xc3\x28</x></worksheet>" << false;
}

void TestRowTexts::WholePartChecked() {
    QFETCH(QByteArray, sheet);
    QFETCH(bool, tooLarge);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("rows.xlsx"));
    WriteFileBytes(
        path, Package({{"xl/sharedStrings.xml", "<sst><si><t>" + QByteArray(32767, 'x') + "</t></si></sst>"},
                       {"xl/worksheets/sheet1.xml", sheet}}));
    const auto workbook = TWorkbook::Open(path);
    const QString error = WorkbookErrorOf([&] { workbook->ActiveSheet().CellText(1, 1); });
    // The damaged part's error, as a sheet damaged among its cells gives it.
    WriteFileBytes(path, Package({{"xl/worksheets/sheet1.xml", Sheet("<row><c r=\"A1\"><v>1</row></c>")}}));
    const QString damaged = WorkbookErrorOf([&] { TWorkbook::Open(path)->ActiveSheet().CellText(1, 1); });
    QVERIFY(!damaged.isEmpty());
    QCOMPARE(error, tooLarge ? QStringLiteral("\"%1\" is too large to import.").arg(path) : damaged);
}

QTEST_GUILESS_MAIN(TestRowTexts)
#include "tst_rowtexts.moc"
