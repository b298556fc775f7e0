#include "frmData.h"

#include "ui_frmData.h"

#include "session/Session.h"

namespace lists {

frmData::frmData(session::Session& s, int kind, QWidget* parent)
    : ListEditor(s, lists::listForKind(kind), parent), form(std::make_unique<Ui::frmData>()) {
    setUp(kind);
}

frmData::frmData(store::AppState& st, int kind, QWidget* parent)
    : ListEditor(st, lists::listForKind(kind), parent), form(std::make_unique<Ui::frmData>()) {
    setUp(kind);
}

void frmData::setUp(int kind) {
    form->setupUi(this);
    setWindowTitle(lists::kindCaption(kind));
    attach({form->cboData, form->txtInfo, form->cmdAdd, form->cmdDelete, form->cmdClose});
}

frmData::~frmData() = default;

} // namespace lists
