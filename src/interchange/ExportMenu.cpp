#include "ExportMenu.h"

#include "output/DiveChoice.h"
#include "output/ExportFile.h"
#include "ui/Platform.h"

#include <QMenu>

namespace interchange {

void addExportActions(QMenu* menu, QAction* before, QWidget* window, const AppState& state) {
    QAction* uddf = new QAction(QStringLiteral("Export as &UDDF..."), menu);
    QAction* csv = new QAction(QStringLiteral("Export as CS&V..."), menu);
    uddf->setObjectName(QStringLiteral("mnuExportUddf"));
    csv->setObjectName(QStringLiteral("mnuExportCsv"));
    menu->insertAction(before, uddf);
    menu->insertAction(before, csv);
    menu->insertSeparator(before);
    QObject::connect(uddf, &QAction::triggered, window,
                     [window, &state] { exportFromMenu(window, state, Format::Uddf); });
    QObject::connect(csv, &QAction::triggered, window,
                     [window, &state] { exportFromMenu(window, state, Format::Csv); });
}

void exportFromMenu(QWidget* window, const AppState& state, Format format) {
    const bool uddf = format == Format::Uddf;
    const QString kind = uddf ? QStringLiteral("UDDF") : QStringLiteral("CSV");
    const QString pattern = uddf ? QStringLiteral("(*.uddf)") : QStringLiteral("(*.csv)");
    ui::FileRequest request;
    request.title = QStringLiteral("Export as %1").arg(kind);
    // The log does not know its units, so the diver says which he keeps it in.
    request.filter = QStringLiteral("%1, log in feet, psi, °F, cu ft, lb %2;;"
                                    "%1, log in metres, bar, °C, litres, kg %2")
                         .arg(kind, pattern);
    request.defaultSuffix = uddf ? QStringLiteral("uddf") : QStringLiteral("csv");
    const ui::SaveChoice choice =
        ui::platform().saveFileName(window, request, exchangeFileName(state, format));
    if (choice.path.isEmpty()) return;

    const Units units = choice.filter == 1 ? Units::Metric : Units::Imperial;
    const QByteArray bytes =
        exchangeDocument(state, output::divesFor(state, output::DiveChoice::All), format, units);
    if (const QString why = output::dataFileInTheWay(state, choice.path); !why.isEmpty())
        ui::showError(window, QStringLiteral("Error"), why);
    else if (const QString why = output::writeOutputFile(choice.path, bytes); !why.isEmpty())
        ui::showError(window, QStringLiteral("Error"),
                      QStringLiteral("Could not write %1: %2").arg(choice.path, why));
}

} // namespace interchange
