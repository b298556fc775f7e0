#pragma once

#include <functional>

class QWidget;
namespace session {
class Session;
}

namespace app {

// Start-up, right after the log was opened: a recovery journal newer than the log is offered
// for restoring; one declined or out of date is kept aside. `ended` says whether the program
// is ending (a signal closed the question): then the answer is no answer, and the journal stays
// where it is to be offered again next time.
void offerRecovery(QWidget* parent, session::Session& session,
                   const std::function<bool()>& ended = {});

} // namespace app
