#include "CsvRowReader.h"

namespace interchange {

CsvRowReader::CsvRowReader(const QString& text, QChar sep)
    : t(text.constData()), n(text.size()), separator(sep) {
    if (n > 0 && t[0] == QChar(0xFEFF)) k = 1;
}

bool CsvRowReader::next() {
    const QChar quote = QLatin1Char('"'), cr = QLatin1Char('\r'), lf = QLatin1Char('\n');
    while (k < n && problem.isEmpty()) {
        row.clear();
        owned.clear();
        rowLine = lineNow;
        for (;;) {
            if (k < n && t[k] == quote) {
                const int opened = lineNow;
                const qsizetype start = ++k;
                bool doubled = false;
                for (;;) {
                    if (k >= n) {
                        problem = QStringLiteral("line %1: a quote opened here is never closed")
                                      .arg(opened);
                        return false;
                    }
                    const QChar c = t[k++];
                    if (c == quote) {
                        if (k < n && t[k] == quote) {
                            doubled = true;
                            ++k;
                            continue;
                        }
                        break;
                    }
                    if (c == lf || (c == cr && !(k < n && t[k] == lf))) ++lineNow;
                }
                const QStringView raw(t + start, k - 1 - start);
                if (doubled) {
                    owned.push_back(
                        raw.toString().replace(QLatin1String("\"\""), QLatin1String("\"")));
                    row.push_back(owned.back());
                } else {
                    row.push_back(raw);
                }
                if (k < n && t[k] != separator && t[k] != lf && t[k] != cr) {
                    problem = QStringLiteral("line %1: text after the closing quote of a field")
                                  .arg(lineNow);
                    return false;
                }
            } else {
                const qsizetype start = k;
                while (k < n && t[k] != separator && t[k] != lf && t[k] != cr)
                    ++k;
                row.push_back(QStringView(t + start, k - start));
            }
            if (k < n && t[k] == separator) {
                ++k;
                continue;
            }
            // End of the row: CR LF, LF, CR or the end of the text.
            if (k < n && t[k] == cr) ++k;
            if (k < n && t[k] == lf) ++k;
            ++lineNow;
            break;
        }
        if (!(row.size() == 1 && row[0].isEmpty())) return true;
    }
    return false;
}

} // namespace interchange
