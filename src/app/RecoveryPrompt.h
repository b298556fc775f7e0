#pragma once

#include "store/Recovery.h"

#include <functional>

class QWidget;

// Start-up, right after the log was opened: a recovery journal newer than the log is offered
// for restoring; one declined or out of date is kept aside. Tells `journal` what memory now
// holds. `ended` says whether the program is ending (a signal closed the question): then the
// answer is no answer, and the journal stays where it is to be offered again next time.
void offerRecovery(QWidget* parent, AppState& state, recovery::Journal& journal,
                   const std::function<bool()>& ended = {});
