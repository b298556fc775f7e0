#include "frmData.h"

#include "ui_frmData.h"

frmData::frmData(AppState& state, QWidget* parent)
    : ListEditor(state, lists::listForKind(state.ListKind), parent),
      form(std::make_unique<Ui::frmData>()) {
    form->setupUi(this);
    setWindowTitle(lists::kindCaption(state.ListKind));
    attach({form->cboData, form->txtInfo, form->cmdAdd, form->cmdDelete, form->cmdClose});
}

frmData::~frmData() = default;
