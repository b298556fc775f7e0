#include "CsvValues.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>

namespace interchange {

namespace {

int monthNamed(const QString& word) {
    static const char* const names[12] = {"january",   "february", "march",    "april",
                                          "may",       "june",     "july",     "august",
                                          "september", "october",  "november", "december"};
    const QString w = word.toLower();
    if (w.size() < 3) return 0;
    if (w == QLatin1String("sept")) return 9;
    for (int m = 0; m < 12; ++m)
        if (QLatin1String(names[m]).startsWith(w)) return m + 1;
    return 0;
}

// A plain decimal number ("18", "-2", "18.3") without going through the locale machinery
// that QString::toDouble uses; nothing for anything else.
std::optional<double> plainNumber(QStringView view) {
    char buffer[32];
    const qsizetype n = view.size();
    if (n == 0 || n >= static_cast<qsizetype>(sizeof buffer)) return std::nullopt;
    for (qsizetype k = 0; k < n; ++k) {
        const char16_t c = view[k].unicode();
        if (!((c >= u'0' && c <= u'9') || c == u'.' || (c == u'-' && k == 0))) return std::nullopt;
        buffer[k] = static_cast<char>(c);
    }
    double v = 0;
    const std::from_chars_result r = std::from_chars(buffer, buffer + n, v);
    if (r.ec != std::errc() || r.ptr != buffer + n) return std::nullopt;
    return v;
}

} // namespace

std::optional<DateOrder> dateOrderNamed(const QString& word) {
    const QString w = word.toUpper();
    if (w == QLatin1String("YMD")) return DateOrder::YMD;
    if (w == QLatin1String("MDY")) return DateOrder::MDY;
    if (w == QLatin1String("DMY")) return DateOrder::DMY;
    return std::nullopt;
}

std::optional<CsvDate> parseDate(QStringView view, DateOrder order) {
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:$|[T ])"));
    static const QRegularExpression three(
        QStringLiteral("^(\\d{1,2})[-/.](\\d{1,2})[-/.](\\d{2}|\\d{4})(?:$|[T ])"));
    static const QRegularExpression dayName(
        QStringLiteral("^(\\d{1,2})\\.?[ -]+([A-Za-z]+)\\.?,?[ -]+(\\d{2}|\\d{4})$"));
    static const QRegularExpression nameDay(
        QStringLiteral("^([A-Za-z]+)\\.?[ -]+(\\d{1,2}),?[ -]+(\\d{2}|\\d{4})$"));
    CsvDate d;
    // The form our own files use, without a regular expression: thousands of rows.
    auto digit = [&view](int k) { return view[k].unicode() - u'0'; };
    if (view.size() == 10 && view[4] == QLatin1Char('-') && view[7] == QLatin1Char('-')) {
        bool ok = true;
        for (int k : {0, 1, 2, 3, 5, 6, 8, 9})
            ok = ok && view[k].isDigit() && view[k].unicode() < 128;
        if (ok) {
            d.year = digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3);
            d.month = digit(5) * 10 + digit(6);
            d.day = digit(8) * 10 + digit(9);
            return d;
        }
    }
    const QString cell = view.toString();
    if (const auto m = iso.match(cell); m.hasMatch()) {
        d.year = m.captured(1).toInt();
        d.month = m.captured(2).toInt();
        d.day = m.captured(3).toInt();
        return d;
    }
    if (const auto m = three.match(cell); m.hasMatch()) {
        const int a = m.captured(1).toInt(), b = m.captured(2).toInt();
        const int c = m.captured(3).toInt();
        d.numeric = true;
        d.first = a;
        d.second = b;
        if (order == DateOrder::YMD) {
            d.year = a, d.month = b, d.day = c;
        } else if (order == DateOrder::DMY) {
            d.year = c, d.month = b, d.day = a;
        } else {
            d.year = c, d.month = a, d.day = b;
        }
        return d;
    }
    for (const QRegularExpression* re : {&dayName, &nameDay}) {
        const auto m = re->match(cell);
        if (!m.hasMatch()) continue;
        const bool dayFirst = re == &dayName;
        const int month = monthNamed(m.captured(dayFirst ? 2 : 1));
        if (month == 0) return std::nullopt;
        d.month = month;
        d.day = m.captured(dayFirst ? 1 : 2).toInt();
        d.year = m.captured(3).toInt();
        return d;
    }
    return std::nullopt;
}

void DateOrderVote::add(const CsvDate& d) {
    if (!d.numeric) return;
    if (d.first > 12) monthFirstImpossible = true;
    if (d.second > 12) dayFirstImpossible = true;
    if (d.first != d.second && d.first <= 12 && d.second <= 12) ambiguous = true;
}

std::optional<CsvTime> parseTimeOfDay(QStringView view) {
    if (view.size() == 5 && view[2] == QLatin1Char(':')) {
        bool ok = true;
        for (int k : {0, 1, 3, 4})
            ok = ok && view[k].isDigit() && view[k].unicode() < 128;
        if (ok)
            return CsvTime{(view[0].unicode() - u'0') * 10 + view[1].unicode() - u'0',
                           (view[3].unicode() - u'0') * 10 + view[4].unicode() - u'0'};
    }
    const QString cell = view.toString();
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{1,2}):(\\d{1,2})(?::\\d{1,2}(?:[.,]\\d*)?)?\\s*(?:([AaPp])\\.?[Mm]\\.?)?$"));
    const auto m = re.match(cell);
    if (!m.hasMatch()) return std::nullopt;
    CsvTime t{m.captured(1).toInt(), m.captured(2).toInt()};
    if (const QString half = m.captured(3).toLower(); !half.isEmpty()) {
        if (t.hour < 1 || t.hour > 12) return std::nullopt;
        t.hour = t.hour % 12 + (half == QLatin1String("p") ? 12 : 0);
    }
    return t;
}

std::optional<CsvTime> timeAfterDate(QStringView view) {
    const QString cell = view.toString();
    const qsizetype at = cell.indexOf(QRegularExpression(QStringLiteral("[T ]\\d{1,2}:")));
    if (at < 0) return std::nullopt;
    QString rest = cell.mid(at + 1).trimmed();
    rest.remove(QRegularExpression(QStringLiteral("(Z|[+-]\\d{1,2}:?\\d{2})$")));
    return parseTimeOfDay(rest.trimmed());
}

std::optional<double> parseDuration(QStringView view, bool unitSeconds) {
    if (const std::optional<double> v = plainNumber(view))
        return unitSeconds ? std::round(*v / 60.0) : *v;
    const QString cell = view.toString();
    static const QRegularExpression clock(
        QStringLiteral("^(?:(\\d+):)?(\\d+):(\\d{1,2})(?:[.,]\\d*)?$"));
    if (const auto m = clock.match(cell); m.hasMatch()) {
        const double seconds = m.captured(1).toDouble() * 3600 + m.captured(2).toDouble() * 60 +
                               m.captured(3).toDouble();
        return std::round(seconds / 60.0);
    }
    QString unit;
    const std::optional<double> v = parseNumber(cell, &unit);
    if (!v) return std::nullopt;
    const QString u = unit.toLower().remove(QLatin1Char('.'));
    bool seconds = unitSeconds;
    if (u == QLatin1String("s") || u == QLatin1String("sec") || u == QLatin1String("secs") ||
        u == QLatin1String("seconds"))
        seconds = true;
    else if (u == QLatin1String("h") || u == QLatin1String("hours"))
        return *v * 60.0;
    else if (!u.isEmpty() && !unitsOfLabel(Quantity::Minutes, u))
        return std::nullopt;
    else if (!u.isEmpty())
        seconds = false;
    return seconds ? std::round(*v / 60.0) : *v;
}

std::optional<double> parseNumber(QStringView view, QString* unit) {
    if (unit) unit->clear();
    // Most cells are plain numbers; toDouble reads them far quicker than the pattern.
    if (const std::optional<double> v = plainNumber(view)) return v;
    const QString cell = view.toString();
    static const QRegularExpression re(
        QStringLiteral("^([+-]?(?:\\d+(?:[.,]\\d*)?|[.,]\\d+))\\s*([^\\d/]*?)\\s*(?:/.*)?$"));
    const auto m = re.match(cell);
    if (!m.hasMatch()) return std::nullopt;
    QString n = m.captured(1);
    n.replace(QLatin1Char(','), QLatin1Char('.')); // a decimal comma
    bool ok = false;
    const double v = n.toDouble(&ok);
    if (!ok) return std::nullopt;
    if (unit) *unit = m.captured(2).trimmed();
    return v;
}

} // namespace interchange
