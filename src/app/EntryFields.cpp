#include "EntryFields.h"
#include "ui_FormLog.h"

#include "session/Session.h"
#include "store/EntryRules.h"
#include "store/Numbers.h"
#include "ui/Platform.h"
#include "ui/StorableText.h"

#include <QFocusEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextDocument>

namespace app {

namespace {

template <typename T, size_t N> int indexIn(const std::array<T*, N>& controls, const QObject* o) {
    for (size_t i = 0; i < N; ++i)
        if (controls[i] == o) return static_cast<int>(i);
    return -1;
}

// Focus moving into a menu or to another window is not the user leaving the box.
bool userFocusChange(const QEvent* event) {
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}


} // namespace

EntryFields::EntryFields(Ui::FormLog& form, session::Session& s, QWidget* w)
    : QObject(w), ui(form), session(s), window(w) {
    txtAData = {ui.txtAData_0, ui.txtAData_1, ui.txtAData_2, ui.txtAData_3,
                ui.txtAData_4, ui.txtAData_5, ui.txtAData_6};
    txtBData = {ui.txtBData_0, ui.txtBData_1, ui.txtBData_2, ui.txtBData_3, ui.txtBData_4,
                ui.txtBData_5, ui.txtBData_6, ui.txtBData_7, ui.txtBData_8, ui.txtBData_9};
    cboCData = {ui.cboCData_0, ui.cboCData_1, ui.cboCData_2, ui.cboCData_3};
    chkEData = {ui.chkEData_0, ui.chkEData_1, ui.chkEData_2, ui.chkEData_3,
                ui.chkEData_4, ui.chkEData_5, ui.chkEData_6, ui.chkEData_7};
    optRate = {ui.optRate_0, ui.optRate_1, ui.optRate_2};
    imgRate = {ui.imgRate_0, ui.imgRate_1, ui.imgRate_2};

    const char* faces[] = {":/faces/poor.png", ":/faces/average.png", ":/faces/good.png"};
    for (int i = 0; i < 3; ++i) {
        const QPixmap face(QString::fromLatin1(faces[i]));
        if (!face.isNull())
            imgRate[i]->setPixmap(
                face.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        imgRate[i]->installEventFilter(this);
        connect(optRate[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on || showing) return;
            const QScopedValueRollback<bool> typing(pushing, true);
            session.setRating(dive(), static_cast<int16_t>(i));
            session.endTyping();
        });
    }
    for (QLineEdit* box : txtAData) {
        box->setMaxLength(8);
        box->installEventFilter(this);
    }
    for (int i = 0; i < 10; ++i) {
        txtBData[i]->installEventFilter(this);
        connect(txtBData[i], &QLineEdit::textChanged, this, [this, i] { numberChanged(i); });
    }
    connect(ui.hsbViz, &QScrollBar::valueChanged, this, &EntryFields::visibilityMoved);
    for (int i = 0; i < 4; ++i) {
        cboCData[i]->installEventFilter(this);
        cboCData[i]->setCompleter(nullptr); // a typed name must stay as typed
    }
    for (int i = 0; i < 8; ++i)
        connect(chkEData[i], &QCheckBox::toggled, this, [this, i](bool on) {
            if (showing) return;
            const QScopedValueRollback<bool> typing(pushing, true);
            session.setCondition(dive(), i, on);
            session.endTyping();
        });
    ui.txtDData->installEventFilter(this);
    ui.txtDData->viewport()->installEventFilter(this); // mouse presses land on the viewport
    // Before the handlers below: what the files cannot hold never reaches the record.
    ui::keepStorable(ui.txtDData);
    for (QComboBox* box : cboCData)
        ui::keepStorable(box->lineEdit());
    connect(ui.txtDData, &QPlainTextEdit::textChanged, this, &EntryFields::commentsChanged);
}

int EntryFields::dive() const { return session.state().CurrentDive; }

// ---- Showing

void EntryFields::show() {
    showing = true;
    const store::DiveRecord d = session.state().current();
    for (int i = 0; i < 7; ++i)
        txtAData[i]->setText(store::entry::timeFieldText(i, d.TimeData[static_cast<size_t>(i)]));
    for (int i = 0; i < 10; ++i)
        txtBData[i]->setText(QString::number(d.DiveData[static_cast<size_t>(i)]));
    reselectLists();
    const QString comment = store::entry::commentForBox(d.Comments);
    if (store::entry::commentForBox(ui.txtDData->document()->toRawText()) != comment)
        ui.txtDData->setPlainText(comment);
    for (int i = 0; i < 8; ++i)
        chkEData[i]->setChecked(d.CondData[static_cast<size_t>(i)] != 0);
    if (d.Rating >= 0 && d.Rating <= 2) {
        optRate[d.Rating]->setChecked(true);
    } else {
        for (QRadioButton* o : optRate) {
            o->setAutoExclusive(false);
            o->setChecked(false);
            o->setAutoExclusive(true);
        }
    }
    showing = false;
    // A box being edited now holds this dive's value: leaving it compares with that.
    if (QObject* box = window->focusWidget(); indexIn(txtBData, box) >= 0) focusGained(box);
}

void EntryFields::clearDate() {
    showing = true;
    for (int i = 0; i < 3; ++i)
        txtAData[i]->clear();
    showing = false;
}

void EntryFields::fillLists() {
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(cboCData[i]);
        cboCData[i]->clear();
        for (const store::ListEntry& e : session.state().list(i))
            cboCData[i]->addItem(e.Name);
    }
}

void EntryFields::reselectLists() {
    const store::DiveRecord& d = session.state().current();
    for (int i = 0; i < 4; ++i) {
        const int at = d.ListData[static_cast<size_t>(i)];
        const QSignalBlocker quiet(cboCData[i]);
        if (at >= 0 && at < cboCData[i]->count()) {
            cboCData[i]->setCurrentIndex(at);
        } else {
            // An index the list does not hold (a list file shorter than the log expects).
            cboCData[i]->setCurrentIndex(-1);
            cboCData[i]->setEditText(QString());
        }
    }
}

// ---- The box being edited

void EntryFields::commit() {
    QWidget* box = session.state().Loaded ? window->focusWidget() : nullptr;
    if (!box || box == ui.txtDNum) return;
    focusLost(box);
    // The box still holds the focus; when it really loses it, possibly after the command has
    // moved to another dive, its text belongs to the dive it was checked for.
    committedBox = box;
    committedDive = dive();
}

void EntryFields::detachFocus() {
    if (QWidget* box = window->focusWidget(); box && box != ui.txtDNum) {
        committedBox = box;
        committedDive = -1;
    }
    session.endTyping();
}

bool EntryFields::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (userFocusChange(event)) {
            committedBox = nullptr;
            focusGained(watched);
            const bool byMouse = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            clickedInto = !byMouse                 ? nullptr
                          : watched == ui.txtDData ? ui.txtDData->viewport()
                                                   : qobject_cast<QLineEdit*>(watched);
        }
        break;
    case QEvent::FocusOut:
        if (!userFocusChange(event)) break;
        if (watched == committedBox) {
            committedBox = nullptr;
            if (committedDive != dive()) break;
        }
        focusLost(watched);
        break;
    case QEvent::MouseButtonPress:
        if (const int i = indexIn(imgRate, watched); i >= 0) optRate[i]->setChecked(true);
        if (watched == clickedInto) {
            // The click that entered the box selects its whole text rather than placing the
            // cursor, so typing replaces the value as it does after Tab.
            clickedInto = nullptr;
            if (auto* line = qobject_cast<QLineEdit*>(watched))
                line->selectAll();
            else
                ui.txtDData->selectAll();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void EntryFields::focusGained(QObject* box) {
    if (const int a = indexIn(txtAData, box); a >= 0) {
        txtAData[a]->selectAll();
    } else if (const int b = indexIn(txtBData, box); b >= 0) {
        txtBData[b]->selectAll();
        SavedBottomTime = 0;
        SavedMaxDepth = 0;
        const int16_t value =
            store::numbers::toInt16(store::numbers::roundedValue(txtBData[b]->text()));
        if (b == store::field::BottomTime)
            SavedBottomTime = value;
        else if (b == store::field::MaxDepth)
            SavedMaxDepth = value;
    } else if (box == ui.txtDData) {
        ui.txtDData->selectAll();
    }
}

void EntryFields::focusLost(QObject* box) {
    if (const int a = indexIn(txtAData, box); a >= 0)
        timeCheck(a);
    else if (const int b = indexIn(txtBData, box); b >= 0)
        profileCheck(b);
    else if (const int c = indexIn(cboCData, box); c >= 0)
        listCheck(c);
    // Whatever is typed next in this box is a change of its own.
    session.endTyping();
}

// ---- The checks of each box

void EntryFields::timeCheck(int i) {
    const store::AppState& st = session.state();
    const int16_t previous =
        st.Dives[static_cast<size_t>(st.CurrentDive - 1)].TimeData[static_cast<size_t>(i)];
    const store::entry::TimeFieldOutcome out =
        store::entry::checkTimeField(i, txtAData[i]->text(), previous);
    if (!out.store) {
        txtAData[i]->clear();
        return;
    }
    {
        const QScopedValueRollback<bool> typing(pushing, true);
        session.setTimeField(dive(), i, out.value);
    }
    txtAData[i]->setText(out.text);
}

void EntryFields::numberChanged(int i) {
    QLineEdit* box = txtBData[i];
    const QString text = box->text();
    if (!showing) {
        const store::AppState& st = session.state();
        const int16_t previous = st.Dives[static_cast<size_t>(st.CurrentDive - 1)]
                                     .DiveData[static_cast<size_t>(i)];
        const store::entry::NumberFieldOutcome out = store::entry::checkNumberField(text, previous);
        if (out.replace) {
            box->setText(out.text); // stored by the change this makes
            return;
        }
    }
    if (i == store::field::Visibility) {
        const store::entry::VisibilityOutcome viz = store::entry::syncVisibility(text);
        settingViz = true;
        ui.hsbViz->setValue(viz.position);
        settingViz = false;
        if (viz.clearBox && !text.isEmpty()) {
            box->clear(); // stores 0 through the change this makes
            return;
        }
    }
    // A record is filled in from itself; storing its values again could only spoil one that
    // a file brought in beyond the usual ranges.
    if (showing) return;
    const QScopedValueRollback<bool> typing(pushing, true);
    session.setNumber(dive(), i, store::numbers::toInt16(store::numbers::roundedValue(text)));
}

void EntryFields::visibilityMoved(int value) {
    if (!settingViz) txtBData[store::field::Visibility]->setText(QString::number(value));
}

void EntryFields::profileCheck(int i) {
    if (i != store::field::BottomTime && i != store::field::MaxDepth) return;
    const store::DiveRecord& d = session.state().current();
    if (!store::entry::profileWarningNeeded(txtBData[store::field::BottomTime]->text(),
                                            txtBData[store::field::MaxDepth]->text(),
                                            SavedBottomTime, SavedMaxDepth, d.ProfileNum))
        return;
    if (ui::askYesNo(window, QStringLiteral("WARNING!"),
                     QStringLiteral("This will permanently delete the entered profile.  Are you "
                                    "sure you want to continue?")) != ui::Answer::Yes) {
        const int16_t saved = i == store::field::BottomTime ? SavedBottomTime : SavedMaxDepth;
        txtBData[i]->setText(QString::number(saved));
        return;
    }
    session.unlinkProfile(dive(), i);
}

void EntryFields::listCheck(int i) {
    QComboBox* box = cboCData[i];
    const QString text = box->currentText();
    if (text.isEmpty()) return;
    QStringList names;
    for (int p = 0; p < box->count(); ++p)
        names << box->itemText(p);
    // Text typed over a chosen entry no longer counts as that entry.
    const int at = box->currentIndex();
    const int selected = at >= 0 && box->itemText(at) == text ? at : -1;
    const int t = store::entry::listPositionFor(selected, names, text);
    if (t >= 0) {
        session.setListChoice(dive(), i, static_cast<int16_t>(t));
        reselectLists();
        return;
    }
    if (session.addListChoice(dive(), i, text) < 0) {
        ui::showError(window, QStringLiteral("Error"),
                      QStringLiteral("This list is full; \"%1\" was not added.").arg(text));
        reselectLists();
    }
}

void EntryFields::commentsChanged() {
    if (showing) return;
    // The raw text: the plain text would also turn no-break spaces into spaces.
    const QString text = store::entry::commentFromBox(ui.txtDData->document()->toRawText());
    if (text.isEmpty()) return;
    const QScopedValueRollback<bool> typing(pushing, true);
    session.setComment(dive(), text);
}

} // namespace app
