// SPDX-License-Identifier: GPL-3.0-or-later
// The saved results of .xls formula cells, read from compound files built here: every kind of
// result, strings that go on in CONTINUE records, dates in both date systems, and damaged
// containers that must fail cleanly.

#include "MinimalCompoundFile.h"
#include "exchange/workbook/CompoundFile.h"
#include "exchange/workbook/XlsFormulas.h"
#include "exchange/workbook/ZipPackage.h"

#include <QTest>

namespace {
QByteArray Double(double value) {
    QByteArray bytes(8, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A formula in column A of `row` with a result of eight bytes.
QByteArray Formula(quint16 row, quint16 xf, const QByteArray& result) {
    return Record(0x0006, Le16(row) + Le16(0) + Le16(xf) + result + QByteArray(8, '\0'));
}

// A result that is no number: its kind in byte 0, a value in byte 2, 0xFFFF in bytes 6 and 7.
QByteArray Special(char kind, char value = 0) {
    return QByteArray(1, kind) + '\0' + QByteArray(1, value) + QByteArray(3, '\0') + "\xFF\xFF";
}

// A workbook stream of one worksheet whose substream holds `cells`. Its cell formats: 0 general,
// 1 the built-in date format 14, 2 the custom format 164 "hh:mm".
QByteArray WorkbookStream(const QByteArray& cells, bool date1904) {
    const QByteArray bof = Le16(0x0600) + Le16(0x0005) + QByteArray(12, '\0');
    QByteArray globals = Record(0x0809, bof);
    if (date1904)
        globals += Record(0x0022, Le16(1));
    globals += Record(0x041E, Le16(164) + Le16(5) + '\0' + "hh:mm");
    for (const quint16 format : {0, 14, 164})
        globals += Record(0x00E0, Le16(0) + Le16(format) + QByteArray(16, '\0'));
    // The sheet's substream starts right after this record and the globals' EOF.
    QByteArray sheet = Record(0x0085, QByteArray(4, '\0') + QByteArray("\0\0\x01\0S", 5));
    Put32(sheet, 4, quint32(globals.size() + sheet.size() + 4));
    globals += sheet + Record(0x000A, {});
    return globals + Record(0x0809, Le16(0x0600) + Le16(0x0010) + QByteArray(12, '\0')) + cells +
           Record(0x000A, {});
}
} // namespace

class TestXlsFormulas : public QObject {
    Q_OBJECT

private slots:
    void Results_data();
    void Results();
    void Streams_data();
    void Streams();
    void DamagedContainers_data();
    void DamagedContainers();
};

void TestXlsFormulas::Results_data() {
    QTest::addColumn<QByteArray>("cells");
    QTest::addColumn<bool>("date1904");
    QTest::addColumn<QString>("expected");

    const QByteArray string = Formula(0, 0, Special(0));
    QTest::newRow("number") << Formula(0, 0, Double(6.5)) << false << "6.5";
    QTest::newRow("whole number") << Formula(0, 0, Double(6)) << false << "6";
    QTest::newRow("built-in date") << Formula(0, 1, Double(46363)) << false << "2026-12-07";
    QTest::newRow("1904 date") << Formula(0, 1, Double(44901)) << true << "2026-12-07";
    QTest::newRow("custom time format") << Formula(0, 2, Double(0.25)) << false << "06:00:00";
    QTest::newRow("cell format out of range") << Formula(0, 99, Double(0.25)) << false << "0.25";
    QTest::newRow("true") << Formula(0, 0, Special(1, 1)) << false << "TRUE";
    QTest::newRow("false") << Formula(0, 0, Special(1, 0)) << false << "FALSE";
    QTest::newRow("#DIV/0!") << Formula(0, 0, Special(2, 0x07)) << false << "#DIV/0!";
    QTest::newRow("#N/A") << Formula(0, 0, Special(2, 0x2A)) << false << "#N/A";
    QTest::newRow("#NAME?") << Formula(0, 0, Special(2, 0x1D)) << false << "#NAME?";
    QTest::newRow("unknown error") << Formula(0, 0, Special(2, 0x55)) << false << "";
    QTest::newRow("empty string") << Formula(0, 0, Special(3)) << false << "";
    QTest::newRow("string") << string + Record(0x0207, Le16(4) + '\0' + "abcd") << false << "abcd";
    QTest::newRow("string with a line break")
        << string + Record(0x0207, Le16(3) + '\0' + "a\nb") << false << "a\r\nb";
    // The continuation says by its own flag byte that its characters take two bytes.
    QTest::newRow("string continued") << string + Record(0x0207, Le16(5) + '\0' + "abc") +
                                             Record(0x003C, QByteArray("\x01\x71\x67\x2C\x4E", 5))
                                      << false << "abc\u6771\u4e2c";
    QTest::newRow("string cut short") << string + Record(0x0207, Le16(9) + '\0' + "abc") << false << "abc";
    QTest::newRow("string without its formula") << Record(0x0207, Le16(2) + '\0' + "ab") << false << "";
    // A chart embedded in the sheet has its own substream; nothing in it is a cell of the sheet.
    QTest::newRow("embedded chart") << Record(0x0809, QByteArray(16, '\0')) + Formula(0, 0, Double(1)) +
                                           Record(0x000A, {})
                                    << false << "";
    QTest::newRow("record cut short") << Formula(0, 0, Double(6)).left(12) << false << "";
}

void TestXlsFormulas::Results() {
    QFETCH(QByteArray, cells);
    QFETCH(bool, date1904);
    QFETCH(QString, expected);
    const TXlsFormulaResults results(CompoundFile(WorkbookStream(cells, date1904)));
    QCOMPARE(results.SheetCount(), 1);
    QCOMPARE(results.Text(0, 0, 0), expected);
    QCOMPARE(results.Text(0, 1, 0), QString());
    QCOMPARE(results.Text(1, 0, 0), QString());
}

void TestXlsFormulas::Streams_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("in the mini stream") << 100;
    QTest::newRow("at the cutoff") << 4096;
    QTest::newRow("over several sectors") << 5000;
}

void TestXlsFormulas::Streams() {
    QFETCH(int, size);
    QByteArray stream(size, '\0');
    for (int i = 0; i < size; ++i)
        stream[i] = char(i * 7 % 251);
    QCOMPARE(CompoundFileStream(CompoundFile(stream), {QStringLiteral("Book"), QStringLiteral("WORKBOOK")}),
             stream);
    QVERIFY_THROWS_EXCEPTION(EDamagedPackage,
                             CompoundFileStream(CompoundFile(stream), {QStringLiteral("Other")}));
}

void TestXlsFormulas::DamagedContainers_data() {
    QTest::addColumn<QByteArray>("file");
    const QByteArray big = CompoundFile(QByteArray(5000, 'x'));  // sectors 3 to 12
    const QByteArray small = CompoundFile(QByteArray(300, 'x')); // mini sectors 0 to 4
    const auto patched = [](QByteArray file, qsizetype at, quint32 value) {
        Put32(file, at, value);
        return file;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no compound file") << QByteArray(4096, 'x');
    QTest::newRow("truncated") << big.left(512 * 6 + 100);
    QTest::newRow("sector size") << patched(big, 0x1C, 0x0014FFFE);
    QTest::newRow("more FAT sectors than the file") << patched(big, 0x2C, 100);
    QTest::newRow("FAT chain loops") << patched(big, 512 + 4 * 6, 4);
    QTest::newRow("directory chain loops") << patched(big, 512 + 4, 1);
    QTest::newRow("directory sector out of range") << patched(big, 0x30, 9999);
    QTest::newRow("stream size beyond the file") << patched(big, 1024 + 128 + 0x78, 1u << 30);
    QTest::newRow("stream sector out of range") << patched(big, 1024 + 128 + 0x74, 0xFFFFFFF0);
    QTest::newRow("mini chain loops") << patched(small, 1536 + 4 * 3, 1);
    QTest::newRow("mini sector past the mini stream") << patched(small, 1536 + 4 * 2, 40);
    QTest::newRow("mini stream size beyond the file") << patched(small, 1024 + 0x78, 1u << 30);
}

void TestXlsFormulas::DamagedContainers() {
    QFETCH(QByteArray, file);
    QVERIFY_THROWS_EXCEPTION(EDamagedPackage, TXlsFormulaResults{file});
}

QTEST_GUILESS_MAIN(TestXlsFormulas)
#include "tst_xlsformulas.moc"
