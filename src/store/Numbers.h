#pragma once

#include <QString>

#include <cstdint>

namespace store {

// How typed text becomes a number everywhere in the program: the number at the start of
// the text counts ("12ft" is 12), anything else is 0, and halves round to the even neighbour.
namespace numbers {

// The leading number of the text: optional blanks, sign, digits, a decimal point and an
// exponent. Text that does not start with a number gives 0.
double leadingValue(const QString& text);

// Nearest integer, halves to the even neighbour; clamped to the range of int.
int roundHalfEven(double v);

// leadingValue then roundHalfEven.
inline int roundedValue(const QString& text) { return roundHalfEven(leadingValue(text)); }

// Clamps to the range of a 16-bit record field.
int16_t toInt16(int v);

} // namespace numbers

} // namespace store
