#pragma once

#include <QString>
#include <QStringList>

class QLineEdit;
class QPlainTextEdit;

namespace ui {

// Boxes whose text goes into the data files, which hold Windows-1252 text only. A character
// they cannot hold is refused where it is typed or pasted: the box keeps the text it had and
// says why in its tooltip (shown at once), instead of the file keeping '?' in its place.

void keepStorable(QLineEdit* box);
void keepStorable(QPlainTextEdit* box);

// What a box says when it refuses these characters.
QString unstorableMessage(const QStringList& chars);

} // namespace ui
