#pragma once

class QWidget;
namespace session {
class Session;
}

// Start-up, right after the log was opened: a recovery journal newer than the log is offered
// for restoring; one declined or out of date is kept aside.
void offerRecovery(QWidget* parent, session::Session& session);
