#include "ExportCommand.h"

#include "Cli.h"
#include "ExportOptions.h"

#include "output/ExportCommand.h"
#include "print/PrintLayout.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace cli {

namespace {

// The printed pages as PDF. The fonts they are measured in need a GUI application, which
// main() starts on the offscreen platform for this command; no window ever opens.
QByteArray printedPdf(const store::AppState& state, const std::vector<int>& dives,
                      bool withComments, const QString& pageSize, bool withProfiles) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
    const QPageSize::PageSizeId id = pageSize == QLatin1String("A4") ? QPageSize::A4
                                     : pageSize == QLatin1String("Letter")
                                         ? QPageSize::Letter
                                         : print::localePageSize();
    return print::pdfDocument(state, dives, withComments, id, withProfiles);
}

} // namespace

ExportCommand::ExportCommand()
    : Command(
          QStringLiteral("export"),
          QStringLiteral("text|html|pdf|uddf|csv [--dives all|FIRST-LAST|N,N,...] "
                         "[--no-comments] [--page-size A4|Letter] [--profiles] "
                         "[--units imperial|metric] [--bom] [-o FILE|-]"),
          QStringLiteral("write dives as text, HTML, the printed pages (PDF), UDDF or CSV"),
          {
              {QStringLiteral("dives"), QStringLiteral("all|FIRST-LAST|N,N,..."),
               QStringLiteral(
                   "the dives by number (default all); a range is corrected to the log,\n"
                   "a list is written in its own order")},
              {QStringLiteral("no-comments"),
               {},
               QStringLiteral("text, html, pdf: leave the comments out")},
              {QStringLiteral("page-size"), QStringLiteral("A4|Letter"),
               QStringLiteral("pdf: the paper (default: the locale's)")},
              {QStringLiteral("profiles"), {}, QStringLiteral("pdf: draw each dive's profile")},
              {QStringLiteral("units"), QStringLiteral("imperial|metric"),
               QStringLiteral("uddf, csv: the units (default: the diver's setting)")},
              {QStringLiteral("bom"), {}, QStringLiteral("csv: start with a byte order mark")},
              {QStringLiteral("o"), QStringLiteral("FILE|-"),
               QStringLiteral("write FILE, or - for standard output (default: the diver's name\n"
                              "with the format's extension)")},
          }) {}

int ExportCommand::run(Context& ctx) const {
    output::ExportRequest request;
    QString error;
    if (!exportRequest(*ctx.line, ctx.args, request, error))
        return ctx.fail(QStringLiteral("export: ") + error);
    request.outName = ctx.typedPath(request.outName);
    store::AppState state;
    if (!openForReading(ctx, state)) return ExitError;
    return output::exportCommand(state, request, ctx.out, ctx.err, printedPdf);
}

} // namespace cli
