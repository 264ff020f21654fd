#include "PlayerName.h"

namespace PlayerName {
QString fromStore(const QString& stored)
{
    QString name = stored.left(maxLength);
    if (!name.isEmpty() && name.back().isHighSurrogate())
        name.chop(1); // half a character would show as a box
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    return name;
}
} // namespace PlayerName
