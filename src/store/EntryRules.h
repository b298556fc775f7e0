#pragma once

#include "Records.h"

#include <QLine>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace store {

// The rules behind the entry boxes of the main window: what typed text becomes, what is
// refused and what is put back. The window only reads its boxes and applies the outcome.
namespace entry {

// Typed numbers beyond this (either sign) are never taken.
constexpr int NumberLimit = 32000;

// The dive index a typed dive number leads to. A number beyond the limit first puts the
// number of the shown dive back; a number outside 1..diveCount keeps the shown dive.
// `shown` is the index of the dive on screen (the scroll bar's position).
int checkDiveNumber(const QString& text, int shown, int offset, int diveCount);

// A date or time box after it lost the focus.
struct TimeFieldOutcome {
    bool store = false; // false: the box is emptied and the record keeps its value
    int16_t value = 0;
    QString text; // what the box shows afterwards
};
// `element` is the TimeData index; `previous` is the same field of the dive before
// (0 for the first dive), taken when the box is empty or holds more than four characters.
TimeFieldOutcome checkTimeField(int element, const QString& text, int16_t previous);

// How a TimeData value is shown: minutes (and the year) below 10 get a leading zero.
QString timeFieldText(int element, int16_t value);

// A number box on every change.
struct NumberFieldOutcome {
    bool replace = false; // the box must show `text` instead (beyond the limit)
    QString text;
    int16_t value = 0; // the value to store when not replaced
};
NumberFieldOutcome checkNumberField(const QString& text, int16_t previous);

// Visibility: 1..200 is taken, anything else shows as an empty box and a scroll bar at 0.
constexpr int MaxVisibility = 200;
struct VisibilityOutcome {
    bool clearBox = false;
    int position = 0; // the scroll bar's position
};
VisibilityOutcome syncVisibility(const QString& text);

// Whether leaving the bottom time or depth box must ask before dropping the dive's profile.
// `saved*` are the values remembered when the box got the focus (the other one is 0).
bool profileWarningNeeded(const QString& bottomTimeText, const QString& depthText,
                          int savedBottomTime, int savedDepth, int profileNum);

// A drop-down list after it lost the focus: the list position its text names, or -1 when
// the text is a new name. `selected` is the chosen position, or -1 when the text was typed
// over; the last position holding exactly this text wins.
int listPositionFor(int selected, const QStringList& names, const QString& text);

// A year typed with two digits: 0..49 are this century, 50..99 the last one; any other year
// stays as it is.
double fourDigitYear(double year);

// A dive without bottom time or maximum depth has no profile to show.
bool profileRefused(const DiveRecord& dive);

// The lines of the small profile picture of a W x H area, in its pixel units: the profile
// from the surface down, and the surface line when the profile does not stop early.
// Nothing for a dive without bottom time or depth.
std::vector<QLine> thumbnailLines(const ProfileRecord& profile, int bottomTime, int maxDepth,
                                  int width, int height);

// "Clear": the dive as the cleared form shows it. Date, numbers, list choices, comment and
// conditions go to 0 or empty and the rating to average; entry and exit times and the
// profile link stay.
void clearDive(DiveRecord& dive);

// The comment box breaks lines with '\n'; comments keep CR LF, as the text export writes
// its lines. A comment shown in the box has every line break (CR LF, CR, LF) as '\n'; the
// box's text, raw or plain, is stored with every line break as CR LF.
QString commentForBox(const QString& stored);
QString commentFromBox(const QString& boxText);

} // namespace entry

} // namespace store
