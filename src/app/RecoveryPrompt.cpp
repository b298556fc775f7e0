#include "RecoveryPrompt.h"

#include "session/Session.h"
#include "ui/Platform.h"

namespace app {

void offerRecovery(QWidget* parent, session::Session& session, const std::function<bool()>& ended) {
    const store::AppState& state = session.state();
    const store::recovery::Found found = store::recovery::findJournal(state.Files);
    if (found == store::recovery::Found::None) return;
    const QString name = store::recovery::journalName(state.Files);
    bool unreadable = false;
    const bool restore =
        found == store::recovery::Found::Newer &&
        ui::askYesNo(parent, QStringLiteral("WARNING!"),
                     QStringLiteral("Reefbook was not closed properly. Restore the dives you "
                                    "entered since the last save?")) == ui::Answer::Yes;
    if (ended && ended()) return;
    if (restore) {
        // Kept until the next save writes what it holds, in case this session ends badly too.
        const store::fileio::ReadResult read =
            store::fileio::readWhole(name, store::recovery::MaxJournalBytes);
        if (read.status == store::fileio::ReadStatus::Ok && session.restoreJournal(read.data))
            return;
        unreadable = true;
    }
    // Declined or out of date (the log was saved after it): kept aside, never thrown away.
    const QString aside = store::recovery::setAside(state.Files);
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
