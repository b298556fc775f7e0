#include "ImportMenu.h"

#include "CsvImport.h"
#include "UddfImport.h"
#include "settings/Settings.h"
#include "ui/Platform.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace interchange {

namespace {
// A box of text stays readable: what does not fit is counted instead.
constexpr int MostLines = 12;

QString lines(const QStringList& all) {
    QStringList shown = all.mid(0, MostLines);
    if (all.size() > MostLines)
        shown << QStringLiteral("... and %1 more").arg(all.size() - MostLines);
    return shown.join(QLatin1Char('\n'));
}
} // namespace

void addImportAction(QMenu* menu, QAction* before, QWidget* window, const store::AppState& state,
                     const ImportHooks& hooks) {
    QAction* import = new QAction(QStringLiteral("&Import..."), menu);
    import->setObjectName(QStringLiteral("mnuImport"));
    menu->insertAction(before, import);
    QObject::connect(import, &QAction::triggered, window,
                     [window, &state, hooks] { importFromMenu(window, state, hooks); });
}

bool looksLikeUddf(const QString& fileName, const QByteArray& bytes) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("uddf") || suffix == QLatin1String("xml")) return true;
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("tsv")) return false;
    QByteArray start = bytes.left(64);
    if (start.startsWith("\xEF\xBB\xBF")) start.remove(0, 3);
    return start.trimmed().startsWith('<');
}

QString importSummary(const ImportReport& r, int diveOffset, const QString& units) {
    QStringList parts;
    const int first = r.firstIndex + diveOffset, last = first + r.added - 1;
    if (r.added == 0)
        parts << QStringLiteral("No dive was added.");
    else if (r.added == 1)
        parts << QStringLiteral("Added 1 dive as dive %1 (%2 units).").arg(first).arg(units);
    else
        parts << QStringLiteral("Added %1 dives as dives %2 to %3 (%4 units).")
                     .arg(r.added)
                     .arg(first)
                     .arg(last)
                     .arg(units);
    if (!r.skipped.isEmpty())
        parts << QStringLiteral("Skipped, already in the log:\n") + lines(r.skipped);
    static const char* const lists[4] = {"locations", "dive types", "buddies", "gear"};
    for (int w = 0; w < 4; ++w)
        if (!r.newNames[static_cast<size_t>(w)].isEmpty())
            parts << QStringLiteral("New %1: %2")
                         .arg(QLatin1String(lists[w]),
                              r.newNames[static_cast<size_t>(w)].join(QStringLiteral(", ")));
    if (!r.columnsLeftOut.isEmpty())
        parts << QStringLiteral("Columns left out:\n") + lines(r.columnsLeftOut);
    if (!r.warnings.isEmpty()) parts << QStringLiteral("Warnings:\n") + lines(r.warnings);
    return parts.join(QStringLiteral("\n\n"));
}

void importFromMenu(QWidget* window, const store::AppState& state, const ImportHooks& hooks) {
    if (hooks.before) hooks.before();
    ui::FileRequest request;
    request.title = QStringLiteral("Import Dives");
    request.filter = QStringLiteral("Dive files (*.uddf *.xml *.csv *.tsv *.txt);;"
                                    "UDDF (*.uddf *.xml);;CSV (*.csv *.tsv *.txt);;All files (*)");
    const QString path = ui::platform().openFileName(window, request);
    if (path.isEmpty()) return;

    QFile in(path);
    constexpr qint64 MaxBytes = 1LL << 30;
    if (!in.open(QIODevice::ReadOnly) || in.size() > MaxBytes) {
        ui::showError(window, QStringLiteral("Error"),
                      QStringLiteral("Could not read %1: %2")
                          .arg(path, in.isOpen() ? QStringLiteral("the file is larger than 1 GB")
                                                 : in.errorString()));
        return;
    }
    const QByteArray bytes = in.readAll();
    const Units units = settings::diverUnits(state.Files);
    store::AppState work = state;
    const ImportReport r = looksLikeUddf(path, bytes) ? importUddf(work, bytes, units)
                                                      : importCsv(work, bytes, units);
    if (!r.errors.isEmpty()) {
        ui::showError(window, QStringLiteral("Error"),
                      QStringLiteral("%1 was not imported; the log is unchanged.\n\n%2")
                          .arg(QFileInfo(path).fileName(), lines(r.errors)));
        return;
    }
    if (r.added > 0 && hooks.commit) hooks.commit(work, r);
    ui::platform().message(window, {QStringLiteral("Import"),
                                    importSummary(r, state.DiveOffset, unitsName(units)),
                                    ui::Icon::Information, ui::Buttons::Ok, ui::Answer::Ok});
}

} // namespace interchange
