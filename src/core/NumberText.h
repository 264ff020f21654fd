#pragma once

#include <QString>

namespace NumberText {
// Reads the leading decimal number of a text, rounded to the nearest integer (halves to even);
// a text without one reads as 0. Values beyond the int range saturate.
int readAsNumber(const QString& text);

// A non-negative number with a blank in the place of its sign (" 7"), a negative one with "-".
QString withSignSpace(int value);
} // namespace NumberText
