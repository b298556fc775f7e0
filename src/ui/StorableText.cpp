#include "StorableText.h"

#include "store/Text.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolTip>
#include <QValidator>

namespace ui {

namespace {

const char* const PlainTip = "reefbookPlainToolTip"; // the box's own tooltip, kept aside

void refuse(QWidget* box, const QStringList& chars) {
    if (!box->property(PlainTip).isValid()) box->setProperty(PlainTip, box->toolTip());
    const QString why = unstorableMessage(chars);
    box->setToolTip(why);
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), why, box);
}

void accepted(QWidget* box) {
    const QVariant plain = box->property(PlainTip);
    if (!plain.isValid()) return;
    box->setToolTip(plain.toString());
    box->setProperty(PlainTip, QVariant());
}

// A line box takes what it is given through its validator, so a refused key or paste never
// reaches the text at all.
class StorableValidator : public QValidator {
  public:
    explicit StorableValidator(QLineEdit* lineBox) : QValidator(lineBox), box(lineBox) {}
    State validate(QString& input, int&) const override {
        const QStringList chars = store::text::unstorable(input);
        if (chars.isEmpty()) {
            accepted(box);
            return Acceptable;
        }
        refuse(box, chars);
        return Invalid;
    }

  private:
    QLineEdit* box;
};

} // namespace

QString unstorableMessage(const QStringList& chars) {
    return QStringLiteral("%1 cannot be stored: the log keeps only Western European letters "
                          "(Windows-1252), so the box keeps the text it had.")
        .arg(chars.join(QLatin1Char(' ')));
}

void keepStorable(QLineEdit* box) {
    box->setValidator(new StorableValidator(box));
}

void keepStorable(QPlainTextEdit* box) {
    // A text box has no validator: a change holding what the files cannot hold is undone at
    // once, back to the last text that could be stored, with the cursor where the change began.
    auto last = std::make_shared<QString>(box->toPlainText());
    auto changedAt = std::make_shared<int>(0);
    QObject::connect(box->document(), &QTextDocument::contentsChange, box,
                     [changedAt](int position, int, int) { *changedAt = position; });
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, last, changedAt] {
        const QString now = box->toPlainText();
        const QStringList chars = store::text::unstorable(now);
        if (chars.isEmpty()) {
            *last = now;
            accepted(box);
            return;
        }
        const int at = std::min(*changedAt, static_cast<int>(last->size()));
        box->setPlainText(*last); // itself a change, from the start
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(at);
        box->setTextCursor(cursor);
        refuse(box, chars);
    });
}

} // namespace ui
