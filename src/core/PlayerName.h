#pragma once

#include <QString>

namespace PlayerName {
// As many characters as the new-game dialog's name boxes take.
constexpr int maxLength = 6;

// A name as read from the settings store, which may have been edited by hand: cut to what a
// name box could have taken, with line breaks shown as blanks as the box shows them, so that
// it fits the side panel and the hall of fame's table.
QString fromStore(const QString& stored);
// A name without the invisible marks that turn the direction of the text or embed it in
// another direction: "abcde" would show as "edcba", and a pasted name could disguise itself.
QString withoutDirectionMarks(QString name);
} // namespace PlayerName
