// SPDX-License-Identifier: GPL-3.0-or-later
// The store's text rules: password digest, list cells and sorting, the filter, and display decoding.

#include "core/Category.h"
#include "core/Password.h"
#include "core/SearchParam.h"
#include "core/TextCodec.h"
#include "core/TextRules.h"

#include <QCryptographicHash>
#include <QtTest>

#include <algorithm>

namespace {

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}
QByteArray Bytes(std::string_view bytes) {
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

TRecord MakeRecord(const QByteArrayList& values) {
    TRecord r;
    for (const QByteArray& v : values)
        r.Append(View(v));
    return r;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

class TestDataText : public QObject {
    Q_OBJECT

private slots:
    void md5_data();
    void md5();
    void md5AgainstQt_data();
    void md5AgainstQt();
    void digestIsCaseSensitive();
    void cellText_data();
    void cellText();
    void compare_data();
    void compare();
    void sortExample();
    void foldAsciiLower();
    void recordText_data();
    void recordText();
    void filter_data();
    void filter();
    void wholeWord_data();
    void wholeWord();
    void decode_data();
    void decode();
    void decodeWindows1252();
};

void TestDataText::md5_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("digest");
    QTest::newRow("empty") << QByteArray("") << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
    QTest::newRow("a") << QByteArray("a") << QByteArray("0cc175b9c0f1b6a831c399e269772661");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("900150983cd24fb0d6963f7d28e17f72");
    QTest::newRow("message digest") << QByteArray("message digest")
                                    << QByteArray("f96b697d7cb7938d525a2f31aaf161d0");
    QTest::newRow("a-z") << QByteArray("abcdefghijklmnopqrstuvwxyz")
                         << QByteArray("c3fcd3d76192e4007dfb496cca67e13b");
    QTest::newRow("A-Z a-z 0-9") << QByteArray(
                                        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
                                 << QByteArray("d174ab98d277d9f5a5611c2c9f419d9f");
    QTest::newRow("8 x 1234567890") << QByteArray("1234567890").repeated(8)
                                    << QByteArray("57edf4a22be3c955ac49da2e2107b67a");
}

void TestDataText::md5() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, digest);
    const std::array<uint8_t, 16> raw = Md5(View(text));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(raw.data()), 16).toHex(), digest);
    QCOMPARE(QByteArray::fromStdString(PasswordDigest(View(text))), digest.toUpper());
}

// Lengths around the padding boundaries and bytes of every value.
void TestDataText::md5AgainstQt_data() {
    QTest::addColumn<QByteArray>("text");
    for (int length : {55, 56, 57, 63, 64, 65, 119, 120, 128, 1000}) {
        QByteArray text(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            text[i] = char((i * 7 + length) & 0xFF);
        QTest::addRow("%d bytes", length) << text;
    }
    QTest::newRow("nul bytes") << QByteArray(3, '\0');
    QTest::newRow("high bytes") << QByteArray("\xFF\xE9\x80");
}

void TestDataText::md5AgainstQt() {
    QFETCH(QByteArray, text);
    const QByteArray expected = QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex().toUpper();
    const std::string digest = PasswordDigest(View(text));
    QCOMPARE(QByteArray::fromStdString(digest), expected);
}

void TestDataText::digestIsCaseSensitive() {
    QVERIFY(PasswordDigest("Secret") != PasswordDigest("secret"));
    QVERIFY(PasswordDigest("secret") != PasswordDigest("secret "));
    QCOMPARE(PasswordDigest("secret"), std::string("5EBE2294ECD0E0F08EAB7690D2A6EE69"));
    const std::string digest = PasswordDigest("\xE9t\xE9");
    QCOMPARE(digest.size(), size_t(32));
    QVERIFY(std::all_of(digest.begin(), digest.end(),
                        [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }));
}

void TestDataText::cellText_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("cell");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("one line") << QByteArray("Dune") << QByteArray("Dune");
    QTest::newRow("CR LF") << QByteArray("first\r\nsecond") << QByteArray("first");
    QTest::newRow("lone CR") << QByteArray("first\rsecond") << QByteArray("first");
    QTest::newRow("lone LF") << QByteArray("first\nsecond") << QByteArray("first");
    QTest::newRow("LF CR") << QByteArray("first\n\rsecond") << QByteArray("first");
    QTest::newRow("starts with CR LF") << QByteArray("\r\nsecond") << QByteArray();
    QTest::newRow("starts with LF") << QByteArray("\nsecond") << QByteArray();
    QTest::newRow("trailing break") << QByteArray("only\r\n") << QByteArray("only");
    QTest::newRow("blanks kept") << QByteArray("  a b  \r\n") << QByteArray("  a b  ");
    QTest::newRow("nul is no break") << QByteArray("a\0b\nc", 5) << QByteArray("a\0b", 3);
}

void TestDataText::cellText() {
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, cell);
    QCOMPARE(Bytes(CellText(View(value))), cell);
}

void TestDataText::compare_data() {
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("equal") << QByteArray("abc") << QByteArray("abc") << 0;
    QTest::newRow("case folded") << QByteArray("aBc") << QByteArray("AbC") << 0;
    QTest::newRow("both empty") << QByteArray() << QByteArray() << 0;
    QTest::newRow("empty first") << QByteArray() << QByteArray("a") << -1;
    QTest::newRow("prefix first") << QByteArray("ab") << QByteArray("abc") << -1;
    QTest::newRow("prefix with other case") << QByteArray("AB") << QByteArray("abc") << -1;
    QTest::newRow("digits by code") << QByteArray("10") << QByteArray("9") << -1;
    QTest::newRow("letters fold upward, before underscore") << QByteArray("z") << QByteArray("_") << -1;
    QTest::newRow("bracket after letters") << QByteArray("[") << QByteArray("a") << 1;
    QTest::newRow("backquote after capitals") << QByteArray("`") << QByteArray("Z") << 1;
    QTest::newRow("high bytes unsigned") << QByteArray("\xE9") << QByteArray("z") << 1;
    QTest::newRow("0x80 after 0x7F") << QByteArray("\x80") << QByteArray("\x7F") << 1;
    QTest::newRow("accent not folded") << QByteArray("\xC9") << QByteArray("\xE9") << -1;
    QTest::newRow("UTF-8 accent not folded") << QByteArray("\xC3\x89") << QByteArray("\xC3\xA9") << -1;
    QTest::newRow("nul inside") << QByteArray("a\0b", 3) << QByteArray("a\0c", 3) << -1;
    QTest::newRow("nul after prefix") << QByteArray("a\0", 2) << QByteArray("a") << 1;
}

void TestDataText::compare() {
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, sign);
    QCOMPARE(Sign(CompareListText(View(a), View(b))), sign);
    QCOMPARE(Sign(CompareListText(View(b), View(a))), -sign);
}

void TestDataText::sortExample() {
    std::vector<std::string> cells = {"apple", "Banana", "_x", "10", "9"};
    std::stable_sort(cells.begin(), cells.end(),
                     [](const std::string& a, const std::string& b) { return CompareListText(a, b) < 0; });
    QCOMPARE(cells, (std::vector<std::string>{"10", "9", "apple", "Banana", "_x"}));
}

void TestDataText::foldAsciiLower() {
    std::string text = "ABC xyz @[`{ \xC3\x89\xC9\xE9 Z";
    FoldAsciiLower(text);
    QCOMPARE(text, std::string("abc xyz @[`{ \xC3\x89\xC9\xE9 z"));
    for (int c = 0; c < 256; ++c) {
        const char folded = FoldAsciiLower(char(c));
        QCOMPARE(int(uchar(folded)), c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
}

void TestDataText::recordText_data() {
    QTest::addColumn<QByteArrayList>("values");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("no values") << QByteArrayList{} << QByteArray();
    QTest::newRow("one value") << QByteArrayList{"My Booklet"} << QByteArray("my booklet\r\n");
    QTest::newRow("empty values") << QByteArrayList{"", "A", ""} << QByteArray("\r\na\r\n\r\n");
    QTest::newRow("memo") << QByteArrayList{"Line ONE\r\nLine two"} << QByteArray("line one\r\nline two\r\n");
    QTest::newRow("accents kept") << QByteArrayList{"\xC9T\xC3\x89"} << QByteArray("\xC9t\xC3\x89\r\n");
}

void TestDataText::recordText() {
    QFETCH(QByteArrayList, values);
    QFETCH(QByteArray, text);
    std::string scratch = "left over from the previous record";
    BuildRecordText(MakeRecord(values), scratch);
    QCOMPARE(QByteArray::fromStdString(scratch), text);
}

void TestDataText::filter_data() {
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QByteArrayList>("values");
    QTest::addColumn<bool>("matched");

    const QByteArrayList booklet = {"My booklet"};
    QTest::newRow("BOOK in booklet") << QByteArray("BOOK") << false << booklet << true;
    QTest::newRow("BOOK in booklet, whole word") << QByteArray("BOOK") << true << booklet << false;
    QTest::newRow("hyphen separates") << QByteArray("BOOK") << true << QByteArrayList{"book-keeping"} << true;
    QTest::newRow("underscore separates") << QByteArray("BOOK") << true << QByteArrayList{"book_2"} << true;
    QTest::newRow("digit separates") << QByteArray("BOOK") << true << QByteArrayList{"BOOK7"} << true;
    QTest::newRow("no match") << QByteArray("pen") << false << booklet << false;
    QTest::newRow("accented capital not folded, UTF-8")
        << QByteArray("\xC3\x89T\xC3\x89") << false << QByteArrayList{"\xC3\xA9t\xC3\xA9"} << false;
    QTest::newRow("accented capital not folded, 8-bit")
        << QByteArray("\xC9TE") << false << QByteArrayList{"\xE9t\xE9"} << false;
    QTest::newRow("same accent, folded letters")
        << QByteArray("\xC3\xA9T\xC3\xA9") << false << QByteArrayList{"\xC3\xA9t\xC3\xA9"} << true;
    QTest::newRow("never across two values")
        << QByteArray("ab") << false << QByteArrayList{"xa", "bx"} << false;
    QTest::newRow("memo second line")
        << QByteArray("SECOND") << false << QByteArrayList{"first line\r\nsecond line"} << true;
    QTest::newRow("memo second line, whole word")
        << QByteArray("second") << true << QByteArrayList{"first line\r\nsecond line"} << true;
    QTest::newRow("any value") << QByteArray("third") << false << QByteArrayList{"a", "b", "Third"} << true;
    QTest::newRow("single blank") << QByteArray(" ") << false << QByteArrayList{"a b"} << true;
    QTest::newRow("single blank absent") << QByteArray(" ") << false << QByteArrayList{"ab", "c"} << false;
    QTest::newRow("overlap after a rejected occurrence")
        << QByteArray("a-a") << true << QByteArrayList{"xa-a-a"} << true;
    QTest::newRow("no values") << QByteArray("a") << false << QByteArrayList{} << false;
}

void TestDataText::filter() {
    QFETCH(QByteArray, filter);
    QFETCH(bool, wholeWord);
    QFETCH(QByteArrayList, values);
    QFETCH(bool, matched);

    TSearchParam param;
    QVERIFY(param.FilterText.empty());
    QVERIFY(!param.WholeWord);
    QVERIFY(!param.Matched);
    param.SetFilterText(View(filter));
    std::string expectedFilter = filter.toStdString();
    std::transform(expectedFilter.begin(), expectedFilter.end(), expectedFilter.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    QCOMPARE(param.FilterText, expectedFilter);
    param.WholeWord = wholeWord;

    std::string scratch;
    const TRecord record = MakeRecord(values);
    QCOMPARE(param.Test(record, scratch), matched);
    QCOMPARE(param.Matched, matched);
    // A match in one record is not carried into the next.
    param.Matched = true;
    QCOMPARE(param.Test(MakeRecord({"zzz"}), scratch), false);
    QVERIFY(!param.Matched);
}

void TestDataText::wholeWord_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<bool>("matched");
    QTest::newRow("whole text") << QByteArray("book") << QByteArray("book") << true;
    QTest::newRow("at the start") << QByteArray("book shop") << QByteArray("book") << true;
    QTest::newRow("at the end") << QByteArray("a book") << QByteArray("book") << true;
    QTest::newRow("letter before") << QByteArray("abook") << QByteArray("book") << false;
    QTest::newRow("letter after") << QByteArray("booka") << QByteArray("book") << false;
    QTest::newRow("second occurrence clear") << QByteArray("books book") << QByteArray("book") << true;
    QTest::newRow("third occurrence clear")
        << QByteArray("books abook book\r\n") << QByteArray("book") << true;
    QTest::newRow("every occurrence touches a letter")
        << QByteArray("bookbook") << QByteArray("book") << false;
    QTest::newRow("overlapping single letters") << QByteArray("aa") << QByteArray("a") << false;
    QTest::newRow("overlapping pairs") << QByteArray("aaa") << QByteArray("aa") << false;
    QTest::newRow("continues at the next byte") << QByteArray("xa-a-a") << QByteArray("a-a") << true;
    QTest::newRow("rejected, nothing after") << QByteArray("a-ax") << QByteArray("a-a") << false;
    QTest::newRow("digits and underscore separate") << QByteArray("0book_") << QByteArray("book") << true;
    QTest::newRow("line breaks separate") << QByteArray("x\r\nbook\r\n") << QByteArray("book") << true;
    QTest::newRow("high bytes separate") << QByteArray("\xE9"
                                                       "book\xC3\xA9")
                                         << QByteArray("book") << true;
    QTest::newRow("capitals are no word bytes") << QByteArray("Xbook") << QByteArray("book") << true;
    QTest::newRow("hyphen filter between letters") << QByteArray("a-b") << QByteArray("-") << false;
    QTest::newRow("hyphen filter between blanks") << QByteArray("a - b") << QByteArray("-") << true;
    QTest::newRow("filter longer than text") << QByteArray("boo") << QByteArray("book") << false;
    QTest::newRow("absent") << QByteArray("shelf") << QByteArray("book") << false;
    QTest::newRow("empty text") << QByteArray() << QByteArray("a") << false;
}

void TestDataText::wholeWord() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, filter);
    QFETCH(bool, matched);
    QCOMPARE(MatchWholeWord(View(text), View(filter)), matched);
}

void TestDataText::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("validUtf8");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << QByteArray() << true << QString();
    QTest::newRow("ASCII with CR LF") << QByteArray("a\r\nb") << true << QStringLiteral("a\r\nb");
    QTest::newRow("nul") << QByteArray("a\0b", 3) << true << QString(QChar(u'a')) + QChar(0) + QChar(u'b');
    QTest::newRow("UTF-8 two bytes") << QByteArray("\xC3\xA9t\xC3\xA9") << true
                                     << QStringLiteral("\u00E9t\u00E9");
    QTest::newRow("UTF-8 three bytes") << QByteArray("\xE2\x82\xAC") << true << QStringLiteral("\u20AC");
    QTest::newRow("UTF-8 four bytes")
        << QByteArray("\xF0\x9F\x98\x80") << true << QString::fromUcs4(U"\U0001F600", 1);
    QTest::newRow("U+10FFFF") << QByteArray("\xF4\x8F\xBF\xBF") << true
                              << QString::fromUcs4(U"\U0010FFFF", 1);
    QTest::newRow("8-bit e acute") << QByteArray("\xE9t\xE9") << false << QStringLiteral("\u00E9t\u00E9");
    QTest::newRow("euro") << QByteArray("\x80") << false << QStringLiteral("\u20AC");
    QTest::newRow("one bad byte decodes all as 8-bit")
        << QByteArray("\xC3\xA9\xE9") << false << QStringLiteral("\u00C3\u00A9\u00E9");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false << QStringLiteral("\u00C0\u00AF");
    QTest::newRow("overlong three bytes")
        << QByteArray("\xE0\x80\xAF") << false << QStringLiteral("\u00E0\u20AC\u00AF");
    QTest::newRow("overlong nul") << QByteArray("\xC0\x80") << false << QStringLiteral("\u00C0\u20AC");
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false << QStringLiteral("\u00ED\u00A0\u20AC");
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false
                                     << QStringLiteral("\u00F4\u0090\u20AC\u20AC");
    QTest::newRow("cut short") << QByteArray("a\xC3") << false << QStringLiteral("a\u00C3");
    QTest::newRow("lone continuation") << QByteArray("\xA9") << false << QStringLiteral("\u00A9");
    QTest::newRow("F8 lead") << QByteArray("\xF8\x88\x80\x80\x80") << false
                             << QStringLiteral("\u00F8\u02C6\u20AC\u20AC\u20AC");
    QTest::newRow("undefined bytes") << QByteArray("\x81\x8D\x8F\x90\x9D") << false
                                     << QStringLiteral("\u0081\u008D\u008F\u0090\u009D");
}

void TestDataText::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, validUtf8);
    QFETCH(QString, shown);
    QCOMPARE(IsValidUtf8(View(bytes)), validUtf8);
    const std::string decoded = DecodeForDisplay(View(bytes));
    QCOMPARE(QString::fromUtf8(decoded.data(), qsizetype(decoded.size())), shown);
    QCOMPARE(QByteArray::fromStdString(decoded), shown.toUtf8());
}

// Every byte of Windows-1252 on its own, each made invalid UTF-8 by a lone 0xFF after it.
void TestDataText::decodeWindows1252() {
    static const char16_t k80to9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                         0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int byte = 0; byte < 256; ++byte) {
        const QByteArray bytes = QByteArray(1, char(byte)) + '\xFF';
        const char16_t expected = byte >= 0x80 && byte <= 0x9F ? k80to9F[byte - 0x80] : char16_t(byte);
        const std::string decoded = DecodeForDisplay(View(bytes));
        QCOMPARE(QString::fromUtf8(decoded.data(), qsizetype(decoded.size())),
                 QString(QChar(expected)) + QChar(0xFF));
    }
}

QTEST_GUILESS_MAIN(TestDataText)
#include "tst_text.moc"
