#include "ExchangeExport.h"

#include "Csv.h"
#include "Uddf.h"
#include "output/DiveChoice.h"
#include "output/ExportCommand.h"
#include "output/ExportFile.h"
#include "settings/Settings.h"

namespace interchange {

namespace {
int fail(QTextStream& err, const QString& what) {
    err << "reefbook-cli: export: " << what << '\n';
    err.flush();
    return 2;
}
} // namespace

QByteArray exchangeDocument(const store::AppState& state, const std::vector<int>& dives,
                            Format format, Units units, QStringList* specialForms, bool bom) {
    if (specialForms) specialForms->clear();
    return format == Format::Uddf
               ? uddfDocument(state, dives, units, QDateTime::currentDateTimeUtc(), specialForms)
               : csvDocument(state, dives, units, bom);
}

QString exchangeFileName(const store::AppState& state, Format format) {
    return output::MakeBaseName(state.DiverName) +
           (format == Format::Uddf ? QStringLiteral(".uddf") : QStringLiteral(".csv"));
}

int exportExchange(const store::AppState& state, const output::ExportRequest& request,
                   QIODevice& stdOut, QTextStream& err) {
    const Format format = request.format == QLatin1String("uddf") ? Format::Uddf : Format::Csv;
    const QString& divesText = request.dives;
    const QString unitsText =
        request.units ? *request.units : unitsName(settings::diverUnits(state.Files));
    QString outName = request.outName;
    const bool outGiven = request.outGiven;
    const bool bom = request.bom && format == Format::Csv;
    const std::optional<Units> units = unitsNamed(unitsText);
    if (!units)
        return fail(err, QStringLiteral("--units is imperial or metric, not '%1'").arg(unitsText));
    if (outGiven && outName.isEmpty())
        return fail(err, QStringLiteral("-o needs a file name, or - for standard output"));
    QString problem;
    const std::vector<int> dives = output::chooseDives(state, divesText, &problem);
    if (!problem.isEmpty()) return fail(err, problem);

    QStringList specialForms;
    const QByteArray bytes = exchangeDocument(state, dives, format, *units, &specialForms, bom);
    // Nothing is left out, but a reader should know which dates were put in.
    for (const QString& f : specialForms)
        err << "reefbook-cli: note: " << f << '\n';
    err.flush();
    if (outName == QLatin1String("-")) {
        if (stdOut.write(bytes) != bytes.size())
            return fail(err,
                        QStringLiteral("cannot write to standard output: ") + stdOut.errorString());
        return 0;
    }
    if (outName.isEmpty()) outName = exchangeFileName(state, format);
    if (const QString why = output::dataFileInTheWay(state, outName); !why.isEmpty())
        return fail(err, why);
    if (const QString why = output::writeOutputFile(outName, bytes); !why.isEmpty())
        return fail(err, QStringLiteral("cannot write %1: %2").arg(outName, why));
    const QString count =
        dives.size() == 1 ? QStringLiteral("1 dive") : QStringLiteral("%1 dives").arg(dives.size());
    stdOut.write(QStringLiteral("Wrote %1 (%2, %3 units)\n")
                     .arg(outName, count, unitsName(*units))
                     .toUtf8());
    return 0;
}

} // namespace interchange
