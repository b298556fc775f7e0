#include "RecoveryPrompt.h"

#include "session/Session.h"
#include "ui/Platform.h"

namespace app {

void offerRecovery(QWidget* parent, session::Session& session, const std::function<bool()>& ended) {
    const AppState& state = session.state();
    const recovery::Found found = recovery::findJournal(state.Files);
    if (found == recovery::Found::None) return;
    const QString name = recovery::journalName(state.Files);
    bool unreadable = false;
    const bool restore =
        found == recovery::Found::Newer &&
        ui::askYesNo(parent, QStringLiteral("WARNING!"),
                     QStringLiteral("Reefbook was not closed properly. Restore the dives you "
                                    "entered since the last save?")) == ui::Answer::Yes;
    if (ended && ended()) return;
    if (restore) {
        // Kept until the next save writes what it holds, in case this session ends badly too.
        const fileio::ReadResult read = fileio::readWhole(name, recovery::MaxJournalBytes);
        if (read.status == fileio::ReadStatus::Ok && session.restoreJournal(read.data)) return;
        unreadable = true;
    }
    // Declined or out of date (the log was saved after it): kept aside, never thrown away.
    const QString aside = recovery::setAside(state.Files);
    if (aside.isEmpty())
        ui::showError(parent, QStringLiteral("Error"),
                      QStringLiteral("The recovery file %1 could not be moved aside; the next "
                                     "change will replace it.")
                          .arg(name));
    else if (unreadable)
        ui::showError(parent, QStringLiteral("Error"),
                      QStringLiteral("The recovery file %1 could not be read; the dives are "
                                     "shown as they were last saved. The file is kept as %2.")
                          .arg(name, aside));
}

} // namespace app
