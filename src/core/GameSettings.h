#pragma once

#include "core/ScreenMetrics.h"

#include <QString>

class SettingsStore;

// The options of the next game, derived from the user's choice. The new-game dialog answers
// them; the board keeps the answer until the next one.
struct GameSettings {
    bool twoPlayers = false;
    qint16 columns = 10;
    qint16 rows = 8;
    quint8 sizeClass = 2;
    QString faceSet = QStringLiteral("1");
    QString backSet = QStringLiteral("1");
    qint16 flipDelay = 4000;
    qint16 cardSize = 1300;
    QString player1Name;
    QString player2Name;
};

// What the user picks in the new-game dialog, and what the settings store keeps: the index of
// the chosen option in each group, and the two names.
struct OptionChoice {
    int players = 0;   // 0 "1 hráč", 1 "2 hráči"
    int boardSize = 0; // 0 "10 x 8", 1 "8 x 6", 2 "6 x 5"
    int face = 1;      // 0..4 built-in sets, 5 the own set
    int back = 0;      // 0..5, one less than the back's number
    int flip = 3;      // 0..2 a delay of 1 to 3 seconds, 3 "Celý tah"
    QString name1;
    QString name2;

    bool operator==(const OptionChoice&) const = default;
};

namespace SettingsKeys {
inline const QString section = QStringLiteral("Nastavení");
inline const QString players = QStringLiteral("DvaHráči");
inline const QString boardSize = QStringLiteral("Počet");
inline const QString face = QStringLiteral("Líc");
inline const QString back = QStringLiteral("rub");
inline const QString flip = QStringLiteral("Otočený");
inline const QString name1 = QStringLiteral("Hráč1");
inline const QString name2 = QStringLiteral("Hráč2");
inline const QString sound = QStringLiteral("Zvuk");
} // namespace SettingsKeys

OptionChoice loadChoice(const SettingsStore& store);
bool saveChoice(SettingsStore& store, const OptionChoice& choice);
// The options of the next game: what the choice means, with the card size the screen allows.
GameSettings applyChoice(const OptionChoice& choice, int cardSize);

QString screenResolutionText(const ScreenMetrics& screen);
// The card size, in twips, that the screen resolution allows.
int detectCardSize(const ScreenMetrics& screen);

// The sound switch as stored: only "0" turns the sound off.
bool loadSoundOn(const SettingsStore& store);
bool saveSoundOn(SettingsStore& store, bool on);
