#pragma once

#include <QObject>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QScrollBar;
class QWidget;
namespace store {
struct DiveRecord;
}

namespace Ui {
class FormLog;
}

namespace session {
class Session;
}

namespace app {

// The entry boxes of the main window: they show the current dive and write what is typed
// through the session, with the checks each box runs when it is left. They also keep track
// of the box being edited, so that a command (or an undo) never loses or misplaces what was
// typed last.
class EntryFields : public QObject {
    Q_OBJECT
  public:
    EntryFields(Ui::FormLog& ui, session::Session& session, QWidget* window);

    // Fills the boxes from the current dive.
    void show();
    void fillLists();
    void reselectLists();
    // Empties the date boxes after Clear (the record's date is 0).
    void clearDate();

    // Runs the leave-the-box checks of the box being edited, which keeps the focus.
    void commit();
    // The shown dive is about to change under the box being edited: what it holds belongs to
    // the dive it was typed for and must not be stored into the next one.
    void detachFocus();

    // True while a keystroke's change is being written: the views need not refill the box.
    bool writing() const { return pushing; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void focusGained(QObject* box);
    void focusLost(QObject* box);
    void timeCheck(int i);
    void numberChanged(int i);
    void visibilityMoved(int value);
    void profileCheck(int i);
    void listCheck(int i);
    void commentsChanged();
    int dive() const;

    Ui::FormLog& ui;
    session::Session& session;
    QWidget* window;

    std::array<QLineEdit*, 7> txtAData{};
    std::array<QLineEdit*, 10> txtBData{};
    std::array<QComboBox*, 4> cboCData{};
    std::array<QCheckBox*, 8> chkEData{};
    std::array<QRadioButton*, 3> optRate{};
    std::array<QLabel*, 3> imgRate{};

    bool showing = false;    // the boxes are being filled from the record
    bool settingViz = false; // the visibility box is moving the scroll bar
    bool pushing = false;
    int16_t SavedBottomTime = 0;
    int16_t SavedMaxDepth = 0;
    QObject* clickedInto = nullptr;  // a box (or the comment's viewport) just entered by a click
    QObject* committedBox = nullptr; // checked by a command while it kept the focus
    int committedDive = 0;
};

} // namespace app
