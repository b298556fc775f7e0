#include "Platform.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

#include <algorithm>

namespace ui {

namespace {
Platform& desktop() {
    static Platform real;
    return real;
}
Platform*& installed() {
    static Platform* p = nullptr;
    return p;
}
} // namespace

Answer Platform::message(QWidget* parent, const Message& m) {
    QMessageBox box(parent);
    box.setWindowTitle(m.caption);
    box.setText(m.text);
    switch (m.icon) {
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (m.buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(m.defaultButton == Answer::Yes ? QMessageBox::Yes
                                                            : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString Platform::openFileName(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.title, QString(), request.filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

SaveChoice Platform::saveFileName(QWidget* parent, const FileRequest& request,
                                  const QString& proposed) {
    QFileDialog dialog(parent, request.title, QString(), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return {dialog.selectedFiles().constFirst(),
            static_cast<int>(std::max<qsizetype>(0, dialog.nameFilters().indexOf(
                                                        dialog.selectedNameFilter())))};
}

bool Platform::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

Platform& platform() { return installed() ? *installed() : desktop(); }

PlatformOverride::PlatformOverride(Platform& p) : previous(installed()) { installed() = &p; }
PlatformOverride::~PlatformOverride() { installed() = previous; }

void showError(QWidget* parent, const QString& caption, const QString& text) {
    platform().message(parent, {caption, text, Icon::Exclamation, Buttons::Ok, Answer::Ok});
}

Answer askYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return platform().message(parent,
                              {caption, text, Icon::Critical, Buttons::YesNo, Answer::No});
}

} // namespace ui
