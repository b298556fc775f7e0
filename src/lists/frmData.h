#pragma once

#include "ListEditor.h"

#include <memory>

namespace Ui {
class frmData;
}

// Editor of the dive type, buddy or gear list, whichever ListKind names.
class frmData : public ListEditor {
    Q_OBJECT
public:
    explicit frmData(AppState& state, QWidget* parent = nullptr);
    ~frmData() override;

private:
    std::unique_ptr<Ui::frmData> form;
};
