#pragma once

#include "ListEditor.h"

#include <memory>

namespace Ui {
class frmLocation;
}

namespace lists {

// Editor of the dive sites: name, info and a picture (map or photo) for each.
class frmLocation : public ListEditor {
    Q_OBJECT
public:
    explicit frmLocation(session::Session& session, QWidget* parent = nullptr);
    explicit frmLocation(store::AppState& state, QWidget* parent = nullptr); // on its own (tests)
    ~frmLocation() override;

protected:
  void entryShown(const store::ListEntry* entry) override;

private:
    void setUp();
    void choosePicture();

    std::unique_ptr<Ui::frmLocation> form;
};

} // namespace lists
