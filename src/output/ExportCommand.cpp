#include "ExportCommand.h"

#include "DiveChoice.h"
#include "ExportFile.h"
#include "HtmlExport.h"
#include "TextExport.h"
#include "interchange/ExchangeExport.h"

#include <QRegularExpression>

#include <limits>
#include <optional>

namespace output {

namespace {

// The exit statuses and message prefix of reefbook-cli: 2 when the command could not do its
// work (nothing written), 0 when it did.
constexpr int Failed = 2;
constexpr char Prefix[] = "reefbook-cli: export: ";

struct ChosenDives {
    std::vector<int> dives;
    QString error; // set when the text could not be used
};

// A whole number as the diver types it; numbers past the range of int are pinned to it so
// that "1-99999999999" is still a range (it is corrected to the log anyway).
std::optional<int> wholeNumber(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^[+-]?\\d+$"));
    if (!re.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const long long v = text.toLongLong(&ok);
    if (!ok) // too many digits for 64 bits
        return text.startsWith(QLatin1Char('-')) ? std::numeric_limits<int>::min()
                                                 : std::numeric_limits<int>::max();
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString logSpan(const store::AppState& state) {
    return QStringLiteral("the log holds dives %1 to %2")
        .arg(rangeFirst(state))
        .arg(rangeLast(state));
}

ChosenDives parseDives(const store::AppState& state, const QString& text) {
    ChosenDives chosen;
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
        chosen.dives = divesFor(state, DiveChoice::All);
        return chosen;
    }

    static const QRegularExpression range(QStringLiteral("^([+-]?\\d+)\\s*-\\s*([+-]?\\d+)$"));
    const QRegularExpressionMatch m = range.match(t);
    if (m.hasMatch()) {
        const int start = *wholeNumber(m.captured(1));
        const int end = *wholeNumber(m.captured(2));
        // The start field is checked against the end as typed, then the end against the
        // corrected start, as when the diver leaves one range field and then the other.
        const int first = correctedRangeStart(state, start, end);
        const int last = correctedRangeEnd(state, first, end);
        chosen.dives = divesFor(state, DiveChoice::Range, first, last);
        return chosen;
    }

    const QStringList items = t.split(QLatin1Char(','));
    for (const QString& raw : items) {
        const QString item = raw.trimmed();
        const std::optional<int> n = wholeNumber(item);
        if (!n) {
            chosen.error = QStringLiteral("'%1' is not all, a range such as 105-107 or a list such "
                                        "as 104,101")
                             .arg(text);
            chosen.dives.clear();
            return chosen;
        }
        const long long index = static_cast<long long>(*n) - state.DiveOffset;
        if (index < 1 || index > state.DiveCount()) {
            chosen.error = QStringLiteral("dive %1 is not in the log (%2)").arg(item, logSpan(state));
            chosen.dives.clear();
            return chosen;
        }
        chosen.dives.push_back(static_cast<int>(index));
    }
    return chosen;
}

int fail(QTextStream& err, const QString& what) {
    err << Prefix << what << '\n';
    err.flush();
    return Failed;
}

// "Wrote FILE (N dives)" on standard output.
int wrote(QIODevice& stdOut, const QString& outName, size_t dives) {
    const QString count =
        dives == 1 ? QStringLiteral("1 dive") : QStringLiteral("%1 dives").arg(dives);
    stdOut.write(QStringLiteral("Wrote %1 (%2)\n").arg(outName, count).toUtf8());
    return 0;
}

} // namespace

const char* const ExportUsage =
    "export text|html|pdf|uddf|csv [--dives all|FIRST-LAST|N,N,...] [--no-comments] "
    "[--page-size A4|Letter] [--profiles] [--units imperial|metric] [--bom] [-o FILE|-]";

int exportCommand(store::AppState& state, const ExportRequest& request, QIODevice& stdOut,
                  QTextStream& err, const PdfMaker& makePdf) {
    const QString& format = request.format;
    if (format == QLatin1String("uddf") || format == QLatin1String("csv"))
        return interchange::exportExchange(state, request, stdOut, err);
    if (format != QLatin1String("text") && format != QLatin1String("html") &&
        format != QLatin1String("pdf"))
        return fail(err, QStringLiteral("say what to write: ") + QLatin1String(ExportUsage));
    const bool html = format == QLatin1String("html");
    const bool pdf = format == QLatin1String("pdf");

    const QString& divesText = request.dives;
    const bool withComments = request.withComments;
    const bool withProfiles = request.withProfiles;
    QString outName = request.outName;
    QString pageSize = request.pageSize;
    if (request.outGiven && outName.isEmpty())
        return fail(err, QStringLiteral("-o needs a file name, or - for standard output"));
    if (pdf && !pageSize.isEmpty()) {
        if (pageSize.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0)
            pageSize = QStringLiteral("A4");
        else if (pageSize.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0)
            pageSize = QStringLiteral("Letter");
        else
            return fail(err,
                        QStringLiteral("page size '%1' is neither A4 nor Letter").arg(pageSize));
    }
    if (pdf && !makePdf) return fail(err, QStringLiteral("PDF output is not available here"));

    const ChosenDives chosen = parseDives(state, divesText);
    if (!chosen.error.isEmpty()) return fail(err, chosen.error);

    if (pdf) {
        const QByteArray bytes = makePdf(state, chosen.dives, withComments, pageSize, withProfiles);
        if (bytes.isEmpty()) return fail(err, QStringLiteral("the PDF could not be made"));
        if (outName == QLatin1String("-")) {
            if (stdOut.write(bytes) != bytes.size())
                return fail(err, QStringLiteral("cannot write to standard output: ") +
                                     stdOut.errorString());
            return 0;
        }
        if (outName.isEmpty()) outName = exportFileName(state, ".pdf");
        const ExportResult result = exportBytesToFile(state, outName, bytes);
        if (!result.refusal.isEmpty()) return fail(err, result.refusal);
        if (!result.written)
            return fail(err,
                        QStringLiteral("cannot write ") + store::describeProblems(result.problems));
        return wrote(stdOut, outName, chosen.dives.size());
    }

    const ExportFormat& fileFormat = html ? HtmlFormat : TextFormat;
    if (outName == QLatin1String("-")) {
        if (!writeExportDocument(fileFormat, stdOut, state, chosen.dives, withComments)) {
            return fail(err,
                        QStringLiteral("cannot write to standard output: ") + stdOut.errorString());
        }
        return 0;
    }

    if (outName.isEmpty()) outName = exportFileName(state, fileFormat.extension);
    const ExportResult result =
        exportToFile(fileFormat, state, outName, chosen.dives, withComments);
    if (!result.refusal.isEmpty()) return fail(err, result.refusal);
    if (!result.written) {
        return fail(err,
                    QStringLiteral("cannot write ") + store::describeProblems(result.problems));
    }
    // Pictures left out make the page look bare but lose nothing: say so and carry on.
    for (const store::FileProblem& p : result.problems)
        err << "reefbook-cli: warning: picture not written: " << p.file << ": " << p.what << '\n';
    err.flush();
    return wrote(stdOut, outName, chosen.dives.size());
}

std::vector<int> chooseDives(const store::AppState& state, const QString& text, QString* error) {
    ChosenDives chosen = parseDives(state, text);
    if (error) *error = chosen.error;
    return chosen.dives;
}

} // namespace output
