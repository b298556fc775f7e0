#pragma once

#include "ListEditor.h"

#include <memory>

namespace Ui {
class frmData;
}

namespace lists {

// Editor of the dive type, buddy or gear list: kind 1 types, 2 buddies, 3 gear.
class frmData : public ListEditor {
    Q_OBJECT
public:
    frmData(session::Session& session, int kind, QWidget* parent = nullptr);
    // On its own (tests): the editor keeps a session of its own over `state`.
    frmData(store::AppState& state, int kind, QWidget* parent = nullptr);
    ~frmData() override;

private:
    void setUp(int kind);
    std::unique_ptr<Ui::frmData> form;
};

} // namespace lists
