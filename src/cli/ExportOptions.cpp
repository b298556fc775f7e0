#include "ExportOptions.h"
#include "ExportCommand.h"

namespace cli {

bool exportRequest(const CommandLine& line, const QStringList& words,
                   output::ExportRequest& request, QString& error) {
    request.format = words.value(0);
    if (words.size() > 1) {
        error = QStringLiteral("unknown argument '%1'").arg(words[1]);
        return false;
    }
    const QString& f = request.format;
    const bool exchange = f == QLatin1String("uddf") || f == QLatin1String("csv");
    const bool pdf = f == QLatin1String("pdf");
    // Which format takes which option; one the format would ignore is refused.
    const struct {
        const char* name;
        bool takes;
    } only[] = {{"no-comments", !exchange},
                {"page-size", pdf},
                {"profiles", pdf},
                {"units", exchange},
                {"bom", f == QLatin1String("csv")}};
    for (const auto& o : only)
        if (!o.takes && line.isSet(QLatin1String(o.name))) {
            error = QStringLiteral("unknown argument '%1'")
                        .arg(CommandLine::typed(QLatin1String(o.name)));
            return false;
        }
    if (line.isSet(QStringLiteral("dives"))) request.dives = line.value(QStringLiteral("dives"));
    request.withComments = !line.isSet(QStringLiteral("no-comments"));
    request.withProfiles = line.isSet(QStringLiteral("profiles"));
    request.pageSize = line.value(QStringLiteral("page-size"));
    if (line.isSet(QStringLiteral("units"))) request.units = line.value(QStringLiteral("units"));
    request.bom = line.isSet(QStringLiteral("bom"));
    request.outGiven = line.isSet(QStringLiteral("o"));
    request.outName = line.value(QStringLiteral("o"));
    return true;
}

int exportWords(store::AppState& state, const QStringList& words, QIODevice& out, QTextStream& err,
                const output::PdfMaker& makePdf) {
    CommandLine line(ExportCommand().options());
    output::ExportRequest request;
    QString error;
    if (!line.parse(words) || !exportRequest(line, line.positional(), request, error)) {
        err << "reefbook-cli: export: " << (error.isEmpty() ? line.error() : error) << '\n';
        err.flush();
        return ExitError;
    }
    return output::exportCommand(state, request, out, err, makePdf);
}

} // namespace cli
