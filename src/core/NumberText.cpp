#include "NumberText.h"

#include <climits>
#include <cmath>

namespace {
// Length of the leading number (sign, digits, optional fraction) starting at pos, 0 if none.
qsizetype leadingNumberLength(const QString& text, qsizetype pos)
{
    qsizetype i = pos;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    return digits > 0 ? i - pos : 0;
}

qsizetype firstNonBlank(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    return i;
}
} // namespace

namespace NumberText {

int readAsNumber(const QString& text)
{
    const qsizetype start = firstNonBlank(text);
    const qsizetype length = leadingNumberLength(text, start);
    if (length == 0)
        return 0;
    const double value = text.mid(start, length).toDouble();
    const double rounded = std::nearbyint(value);
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

QString withSignSpace(int value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

} // namespace NumberText
