#include "frmLocation.h"

#include "ui/Platform.h"
#include "ui_frmLocation.h"

namespace lists {

namespace {

// Bitmaps first; any other picture this machine can read is shown too, through All Files.
const QString PictureFilter = QStringLiteral("BMP Files (*.bmp);;All Files (*)");

} // namespace

frmLocation::frmLocation(session::Session& s, QWidget* parent)
    : ListEditor(s, store::field::Location, parent), form(std::make_unique<Ui::frmLocation>()) {
    setUp();
}

frmLocation::frmLocation(store::AppState& st, QWidget* parent)
    : ListEditor(st, store::field::Location, parent), form(std::make_unique<Ui::frmLocation>()) {
    setUp();
}

void frmLocation::setUp() {
    form->setupUi(this);
    setWindowTitle(QStringLiteral("Dive Locations"));
    form->cmdPict->setAutoDefault(false);
    connect(form->cmdPict, &QPushButton::clicked, this, &frmLocation::choosePicture);
    attach({form->cboData, form->txtInfo, form->cmdAdd, form->cmdDelete, form->cmdClose});
}

frmLocation::~frmLocation() = default;

void frmLocation::entryShown(const store::ListEntry* entry) {
    if (entry)
        form->picMap->showFile(entry->Picture);
    else
        form->picMap->clear();
}

void frmLocation::choosePicture() {
    if (!draft.hasSelection())
        return;
    const QString path = ui::platform().openFileName(
        this, {QStringLiteral("Open Location Picture or Map"), PictureFilter,
               QStringLiteral("bmp")});
    if (path.isEmpty())
        return; // cancelled: the entry keeps its picture
    if (!lists::pathStorable(path)) {
        ui::showError(this, QStringLiteral("Sorry!"),
                      QStringLiteral("This picture cannot be kept: the location file can only "
                                     "hold file and folder names in Western European letters.\n%1")
                          .arg(path));
        return;
    }
    lists::setDraftPicture(draft, path);
    entryShown(&draft.entries[static_cast<size_t>(draft.selected)]);
}

} // namespace lists
