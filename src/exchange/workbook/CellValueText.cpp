// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/CellValueText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace CellValueText {

namespace {
constexpr double kLastSerial1900 = 2958465; // 9999-12-31
// A spreadsheet's General format shows numbers with this many significant digits, and without an
// exponent from 1E-05 up to below 1E+15.
constexpr int kSignificantDigits = 15;
constexpr int kLowestPlainExponent = -5;
constexpr int kHighestPlainExponent = 14;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

QString CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = int64_t(yoe) + era * 400 + (m <= 2);
    return QStringLiteral("%1-%2-%3")
        .arg(y, 4, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(d, 2, 10, QLatin1Char('0'));
}

QString Clock(int64_t hours, int64_t minutes, int64_t seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}
} // namespace

QString Number(double value) {
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    // The value rounded to 15 significant digits, as "-d.dddddddddddddde+x".
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                      kSignificantDigits - 1);
    const std::string_view rounded(buffer, size_t(result.ptr - buffer));
    const size_t e = rounded.find('e');
    const bool negative = rounded.front() == '-';
    QString digits;
    for (const char c : rounded.substr(negative, e - negative))
        if (c != '.')
            digits.append(QLatin1Char(c));
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    int exponent = 0;
    const char* exponentStart = rounded.data() + e + 1;
    std::from_chars(exponentStart + (*exponentStart == '+'), result.ptr, exponent);

    QString text = negative ? QStringLiteral("-") : QString();
    if (exponent < kLowestPlainExponent || exponent > kHighestPlainExponent) {
        text.append(digits.front());
        if (digits.size() > 1)
            text.append(QLatin1Char('.')).append(digits.mid(1));
        text.append(exponent < 0 ? QLatin1String("E-") : QLatin1String("E+"));
        text.append(QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0')));
    } else if (exponent < 0) {
        text.append(QLatin1String("0.")).append(QString(-exponent - 1, QLatin1Char('0'))).append(digits);
    } else if (digits.size() <= exponent + 1) {
        text.append(digits).append(QString(exponent + 1 - digits.size(), QLatin1Char('0')));
    } else {
        text.append(digits.left(exponent + 1)).append(QLatin1Char('.')).append(digits.mid(exponent + 1));
    }
    return text;
}

QString Boolean(bool value) {
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

QString NumberFromText(QStringView text) {
    const QByteArray latin = text.trimmed().toLatin1();
    double value = 0;
    const char* end = latin.constData() + latin.size();
    const auto result = std::from_chars(latin.constData(), end, value);
    if (latin.isEmpty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return QString();
    return Number(value);
}

QString Date(double serial, TDateKind kind, bool date1904) {
    if (!(serial >= 0 && serial <= kLastSerial1900 + 1))
        return QString();
    const auto totalSeconds = int64_t(std::llround(serial * 86400.0));
    const int64_t days = totalSeconds / 86400;
    const int64_t secondOfDay = totalSeconds % 86400;
    const QString clock = Clock(secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
    if (kind == TDateKind::Time)
        return clock;
    if (kind == TDateKind::Duration)
        return Clock(totalSeconds / 3600, totalSeconds / 60 % 60, totalSeconds % 60);
    QString date;
    if (date1904) {
        date = CivilFromDays(DaysFromCivil(1904, 1, 1) + days);
    } else if (days == 60) {
        date = QStringLiteral("1900-02-29"); // the 1900 system counts a leap day that never was
    } else {
        date = CivilFromDays(DaysFromCivil(1899, 12, days < 60 ? 31 : 30) + days);
    }
    if (date.size() != 10)
        return QString();
    return kind == TDateKind::DateTime ? date + QLatin1Char(' ') + clock : date;
}

TDateKind BuiltInFormatKind(int id) {
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return TDateKind::Date; // 27-36 and 50-58 are the East Asian date formats
    if ((id >= 18 && id <= 21) || id == 45 || id == 47)
        return TDateKind::Time;
    if (id == 22)
        return TDateKind::DateTime;
    if (id == 46)
        return TDateKind::Duration;
    return TDateKind::None;
}

TDateKind NumberFormatKind(int id, const QHash<int, TDateKind>& customKinds) {
    return customKinds.contains(id) ? customKinds.value(id) : BuiltInFormatKind(id);
}

TDateKind FormatCodeKind(QStringView code) {
    bool dayOrYear = false, month = false, time = false, duration = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (inQuotes) {
            inQuotes = c != QLatin1Char('"');
            continue;
        }
        switch (c.toLower().unicode()) {
        case '"':
            inQuotes = true;
            break;
        case '\\': // the next character is shown as it is
        case '_':  // a space as wide as the next character
        case '*':  // the next character fills the cell
            ++i;
            break;
        case '[': {
            const qsizetype close = code.indexOf(QLatin1Char(']'), i);
            if (close < 0)
                return TDateKind::None;
            const QStringView inside = code.mid(i + 1, close - i - 1);
            // [h], [mm], [ss]: elapsed time; anything else in brackets is a colour, condition or locale.
            if (!inside.isEmpty() && QStringLiteral("hms").contains(inside[0].toLower()) &&
                inside.count(inside[0]) == inside.size())
                duration = true;
            i = close;
            break;
        }
        case ';':
            i = code.size(); // only the first section decides
            break;
        case 'y':
        case 'd':
            dayOrYear = true;
            break;
        case 'm':
            month = true;
            break;
        case 'h':
        case 's':
            time = true;
            break;
        case 'a':
            if (code.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
                time = true;
                i += 4;
            } else if (code.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
                time = true;
                i += 2;
            }
            break;
        default:
            break;
        }
    }
    if (duration)
        return TDateKind::Duration;
    // Beside hours or seconds, "m" means minutes; otherwise months.
    if (time)
        return dayOrYear ? TDateKind::DateTime : TDateKind::Time;
    return dayOrYear || month ? TDateKind::Date : TDateKind::None;
}

QString IsoDateTime(QStringView value) {
    QStringView date = value.left(10);
    if (date.size() != 10 || date[4] != QLatin1Char('-') || date[7] != QLatin1Char('-'))
        return value.toString();
    QStringView time = value.mid(11).left(8);
    if (time.isEmpty() || time == QLatin1String("00:00:00"))
        return date.toString();
    return date.toString() + QLatin1Char(' ') + time.toString();
}

QString IsoDuration(QStringView value) {
    // PnDTnHnMn.nS: the engine only meets hours, minutes and seconds (with days as 24 hours).
    double parts[4] = {0, 0, 0, 0}; // days, hours, minutes, seconds
    qsizetype start = -1;
    bool afterT = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c.isDigit() || c == QLatin1Char('.')) {
            if (start < 0)
                start = i;
            continue;
        }
        const double number = start < 0 ? 0 : value.mid(start, i - start).toDouble();
        start = -1;
        if (c == QLatin1Char('T'))
            afterT = true;
        else if (c == QLatin1Char('D'))
            parts[0] = number;
        else if (c == QLatin1Char('H'))
            parts[1] = number;
        else if (c == QLatin1Char('M') && afterT)
            parts[2] = number;
        else if (c == QLatin1Char('S'))
            parts[3] = number;
    }
    const auto seconds = int64_t(std::llround(((parts[0] * 24 + parts[1]) * 60 + parts[2]) * 60 + parts[3]));
    return Clock(seconds / 3600, seconds / 60 % 60, seconds % 60);
}

void AppendWithCrLf(QString& out, QStringView text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\n'))
            continue;
        const bool hasCr = i > 0 ? text[i - 1] == QLatin1Char('\r') : out.endsWith(QLatin1Char('\r'));
        if (!hasCr) {
            out.append(text.mid(start, i - start));
            out.append(QLatin1Char('\r'));
            start = i;
        }
    }
    out.append(text.mid(start));
}

void AppendWithCrLf(std::string& out, std::string_view text) {
    size_t start = 0;
    for (size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) {
        const bool hasCr = i > 0 ? text[i - 1] == '\r' : !out.empty() && out.back() == '\r';
        if (!hasCr) {
            out.append(text.substr(start, i - start));
            out.push_back('\r');
            start = i;
        }
    }
    out.append(text.substr(start));
}

} // namespace CellValueText
