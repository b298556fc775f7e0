#include "ExportMenu.h"

#include "output/DiveChoice.h"
#include "output/ExportFile.h"
#include "settings/Settings.h"
#include "ui/Platform.h"

#include <QMenu>

namespace interchange {

void addExportActions(QMenu* menu, QAction* before, QWidget* window, const store::AppState& state) {
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

void exportFromMenu(QWidget* window, const store::AppState& state, Format format) {
    const bool uddf = format == Format::Uddf;
    const QString kind = uddf ? QStringLiteral("UDDF") : QStringLiteral("CSV");
    const QString pattern = uddf ? QStringLiteral("(*.uddf)") : QStringLiteral("(*.csv)");
    ui::FileRequest request;
    request.title = QStringLiteral("Export as %1").arg(kind);
    // The log does not know its units, so the diver says which he keeps it in; his unit
    // setting is offered first.
    const Units usual = settings::diverUnits(state.Files);
    const QString imperial =
        QStringLiteral("%1, log in feet, psi, °F, cu ft, lb %2").arg(kind, pattern);
    const QString metric =
        QStringLiteral("%1, log in metres, bar, °C, litres, kg %2").arg(kind, pattern);
    request.filter = usual == Units::Metric ? metric + QStringLiteral(";;") + imperial
                                            : imperial + QStringLiteral(";;") + metric;
    request.defaultSuffix = uddf ? QStringLiteral("uddf") : QStringLiteral("csv");
    const ui::SaveChoice choice =
        ui::platform().saveFileName(window, request, exchangeFileName(state, format));
    if (choice.path.isEmpty()) return;

    const Units other = usual == Units::Metric ? Units::Imperial : Units::Metric;
    const Units units = choice.filter == 1 ? other : usual;
    QStringList specialForms;
    const QByteArray bytes = exchangeDocument(
        state, output::divesFor(state, output::DiveChoice::All), format, units, &specialForms);
    if (const QString inTheWay = output::dataFileInTheWay(state, choice.path); !inTheWay.isEmpty())
        ui::showError(window, QStringLiteral("Error"), inTheWay);
    else if (const QString why = output::writeOutputFile(choice.path, bytes); !why.isEmpty())
        ui::showError(window, QStringLiteral("Error"),
                      QStringLiteral("Could not write %1: %2").arg(choice.path, why));
    else if (!specialForms.isEmpty())
        // Every dive is in the file; the diver learns which ones UDDF took only in another form.
        ui::platform().message(
            window, {QStringLiteral("Export as UDDF"),
                     QStringLiteral("Every dive was written. UDDF requires a date and time, so "
                                    "these were written in another form (a note in each dive "
                                    "says so):\n\n") +
                         specialForms.mid(0, 12).join(QLatin1Char('\n')) +
                         (specialForms.size() > 12
                              ? QStringLiteral("\n... and %1 more").arg(specialForms.size() - 12)
                              : QString()),
                     ui::Icon::Information, ui::Buttons::Ok, ui::Answer::Ok});
}

} // namespace interchange
