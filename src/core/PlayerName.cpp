#include "PlayerName.h"

namespace PlayerName {
QString withoutDirectionMarks(QString name)
{
    name.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
               (u >= 0x2066 && u <= 0x2069);
    });
    return name;
}

QString fromStore(const QString& stored)
{
    QString name = withoutDirectionMarks(stored).left(maxLength);
    if (!name.isEmpty() && name.back().isHighSurrogate())
        name.chop(1); // half a character would show as a box
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    return name;
}
} // namespace PlayerName
