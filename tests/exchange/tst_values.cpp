// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that turn stored values into the text the import reads: numbers as the General format
// shows them (15 significant digits, an exponent only for the very large and small), date
// serials in both date systems (with the 1900 system's leap day), number formats that show dates,
// cell references at the sheet's edges, and the _xHHHH_ escapes of cell text.

#include "WorkbookTestSupport.h"

#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/OoxmlText.h"

#include <QRegularExpression>

using CellValueText::TDateKind;
Q_DECLARE_METATYPE(TDateKind)

class TestValues : public QObject {
    Q_OBJECT

private slots:
    void Numbers_data();
    void Numbers();
    void Dates_data();
    void Dates();
    void FormatCodes_data();
    void FormatCodes();
    void References_data();
    void References();
    void Escapes_data();
    void Escapes();
};

void TestValues::Numbers_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << "3"
                             << "3";
    QTest::newRow("integer written with a fraction") << "3.0"
                                                     << "3";
    QTest::newRow("tenth") << "0.1"
                           << "0.1";
    QTest::newRow("binary noise") << "0.30000000000000004"
                                  << "0.3";
    QTest::newRow("a third") << "0.33333333333333331"
                             << "0.333333333333333";
    QTest::newRow("two thirds round up") << "0.66666666666666663"
                                         << "0.666666666666667";
    QTest::newRow("negative") << "-2.5"
                              << "-2.5";
    QTest::newRow("negative zero") << "-0"
                                   << "0";
    QTest::newRow("smallest without exponent") << "1e-5"
                                               << "0.00001";
    QTest::newRow("rounds up to 1E-05") << "0.0000099999999999999999"
                                        << "0.00001";
    QTest::newRow("just below 1E-05") << "9.99999999999999e-6"
                                      << "9.99999999999999E-06";
    QTest::newRow("small negative") << "-0.00000123"
                                    << "-1.23E-06";
    QTest::newRow("largest without exponent") << "999999999999999"
                                              << "999999999999999";
    QTest::newRow("rounds up to 1E+15") << "999999999999999.9"
                                        << "1E+15";
    QTest::newRow("eighteen digits") << "123456789012345678"
                                     << "1.23456789012346E+17";
    QTest::newRow("exponent") << "1E+21"
                              << "1E+21";
    QTest::newRow("three-digit exponent") << "-1.5e-300"
                                          << "-1.5E-300";
    QTest::newRow("smallest double") << "5e-324"
                                     << "4.94065645841247E-324";
    QTest::newRow("largest double") << "1.7976931348623157e308"
                                    << "1.79769313486232E+308";
    QTest::newRow("blanks around") << " 7 "
                                   << "7";
    QTest::newRow("not a number") << "7x"
                                  << "";
    QTest::newRow("infinity") << "1e999"
                              << "";
}

void TestValues::Numbers() {
    QFETCH(QString, stored);
    QFETCH(QString, text);
    QCOMPARE(CellValueText::NumberFromText(stored), text);
}

void TestValues::Dates_data() {
    QTest::addColumn<double>("serial");
    QTest::addColumn<TDateKind>("kind");
    QTest::addColumn<bool>("date1904");
    QTest::addColumn<QString>("text");
    QTest::newRow("first day") << 1.0 << TDateKind::Date << false << "1900-01-01";
    QTest::newRow("before the leap day that never was") << 59.0 << TDateKind::Date << false << "1900-02-28";
    QTest::newRow("the leap day that never was") << 60.0 << TDateKind::Date << false << "1900-02-29";
    QTest::newRow("after it") << 61.0 << TDateKind::Date << false << "1900-03-01";
    QTest::newRow("modern") << 46363.0 << TDateKind::Date << false << "2026-12-07";
    QTest::newRow("1904 epoch") << 0.0 << TDateKind::Date << true << "1904-01-01";
    QTest::newRow("1904 modern") << 44901.0 << TDateKind::Date << true << "2026-12-07";
    QTest::newRow("date and time") << 43890.5729166667 << TDateKind::DateTime << false
                                   << "2020-02-29 13:45:00";
    QTest::newRow("time rounds to the second") << 0.999999999 << TDateKind::Time << false << "00:00:00";
    QTest::newRow("elapsed hours") << 2.5 << TDateKind::Duration << false << "60:00:00";
    QTest::newRow("last day") << 2958465.0 << TDateKind::Date << false << "9999-12-31";
    QTest::newRow("negative") << -1.0 << TDateKind::Date << false << "";
    QTest::newRow("past the year 9999") << 3e6 << TDateKind::Date << false << "";
}

void TestValues::Dates() {
    QFETCH(double, serial);
    QFETCH(TDateKind, kind);
    QFETCH(bool, date1904);
    QFETCH(QString, text);
    QCOMPARE(CellValueText::Date(serial, kind, date1904), text);
}

void TestValues::FormatCodes_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<TDateKind>("kind");
    QTest::newRow("General") << "General" << TDateKind::None;
    QTest::newRow("decimals") << "#,##0.00;[Red]-#,##0.00" << TDateKind::None;
    QTest::newRow("scientific") << "0.00E+00" << TDateKind::None;
    QTest::newRow("text") << "@" << TDateKind::None;
    QTest::newRow("quoted codes") << "0 \"days and hours\"" << TDateKind::None;
    QTest::newRow("escaped codes") << "0\\d" << TDateKind::None;
    QTest::newRow("ISO date") << "yyyy-mm-dd" << TDateKind::Date;
    QTest::newRow("month and year") << "mmm yy" << TDateKind::Date;
    QTest::newRow("locale in brackets") << "[$-409]d-mmm-yy;@" << TDateKind::Date;
    QTest::newRow("minutes beside hours") << "h:mm" << TDateKind::Time;
    QTest::newRow("minutes and seconds") << "mm:ss" << TDateKind::Time;
    QTest::newRow("12-hour clock") << "h:mm AM/PM" << TDateKind::Time;
    QTest::newRow("date and time") << "dd/mm/yyyy hh:mm" << TDateKind::DateTime;
    QTest::newRow("elapsed") << "[h]:mm:ss" << TDateKind::Duration;
    QTest::newRow("colour only") << "[Blue]0" << TDateKind::None;
}

void TestValues::FormatCodes() {
    QFETCH(QString, code);
    QFETCH(TDateKind, kind);
    QCOMPARE(CellValueText::FormatCodeKind(code), kind);
}

void TestValues::References_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<int>("row"); // 0: refused
    QTest::addColumn<int>("column");
    QTest::newRow("A1") << "A1" << 1 << 1;
    QTest::newRow("last cell") << "XFD1048576" << 1048576 << 16384;
    QTest::newRow("lower case") << "ab12" << 12 << 28;
    QTest::newRow("row past the end") << "XFD1048577" << 0 << 0;
    QTest::newRow("column past the end") << "XFE1" << 0 << 0;
    QTest::newRow("row 0") << "A0" << 0 << 0;
    QTest::newRow("no row") << "A" << 0 << 0;
    QTest::newRow("no column") << "12" << 0 << 0;
    QTest::newRow("absolute") << "$A$1" << 0 << 0;
    QTest::newRow("huge row") << "A99999999999" << 0 << 0;
}

void TestValues::References() {
    QFETCH(QString, reference);
    QFETCH(int, row);
    QFETCH(int, column);
    int readRow = 0, readColumn = 0;
    const bool parsed = CellReference::Parse(reference, readRow, readColumn);
    QCOMPARE(parsed, row != 0);
    if (parsed) {
        QCOMPARE(readRow, row);
        QCOMPARE(readColumn, column);
        std::string name;
        CellReference::AppendColumnName(name, column);
        QCOMPARE(QString::fromStdString(name), reference.toUpper().remove(QRegularExpression("[0-9]")));
    }
}

void TestValues::Escapes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << "abc" << QByteArray("abc");
    QTest::newRow("specials") << "<&>\"" << QByteArray("&lt;&amp;&gt;\"");
    QTest::newRow("CR LF") << "a\r\nb" << QByteArray("a\nb");
    QTest::newRow("lone CR") << "a\rb" << QByteArray("a_x000D_b");
    QTest::newRow("control") << QString::fromUtf16(u"\u0001") << QByteArray("_x0001_");
    QTest::newRow("escape look-alike") << "_x0041_" << QByteArray("_x005F_x0041_");
    QTest::newRow("lower-case look-alike") << "_xabcd_" << QByteArray("_x005F_xabcd_");
    QTest::newRow("almost an escape") << "_x004_" << QByteArray("_x004_");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("_xD800_");
    QTest::newRow("pair") << QString::fromUtf8("\U0001F600") << QByteArray("\xF0\x9F\x98\x80");
}

void TestValues::Escapes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    std::string out;
    OoxmlText::AppendEncoded(out, text);
    QCOMPARE(QByteArray::fromStdString(out), written);
    if (written.contains('&'))
        return; // entities are the XML reader's to decode
    QString read;
    OoxmlText::AppendDecoded(read, QString::fromUtf8(written));
    QCOMPARE(read, QString(text)
                       .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                       .replace(QLatin1String("\n"), QLatin1String("\r\n")));
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
