#pragma once

#include "store/Recovery.h"

class QWidget;

// Start-up, right after the log was opened: a recovery journal newer than the log is offered
// for restoring; one declined or out of date is kept aside. Tells `journal` what memory now
// holds.
void offerRecovery(QWidget* parent, AppState& state, recovery::Journal& journal);
