#include "GameSettings.h"

#include "core/NumberText.h"
#include "core/PlayerName.h"
#include "core/SettingsStore.h"

#include <algorithm>
#include <cmath>

namespace {
struct IndexKey {
    const QString& key;
    int defaultIndex;
    int last;
};

// A hand-edited store may hold an index outside its group; such a value falls back to the
// key's default, as an absent key would.
int readIndex(const SettingsStore& store, const IndexKey& k)
{
    const QString text = store.read(SettingsKeys::section, k.key, QString::number(k.defaultIndex));
    const int value = NumberText::readAsNumber(text.trimmed());
    return value >= 0 && value <= k.last ? value : k.defaultIndex;
}

struct BoardShape {
    qint16 columns;
    qint16 rows;
    quint8 sizeClass;
};
constexpr BoardShape boardShapes[] = {{10, 8, 2}, {8, 6, 1}, {6, 5, 0}};
} // namespace

OptionChoice loadChoice(const SettingsStore& store)
{
    OptionChoice c;
    c.players = readIndex(store, {SettingsKeys::players, 0, 1});
    c.boardSize = readIndex(store, {SettingsKeys::boardSize, 0, 2});
    c.face = readIndex(store, {SettingsKeys::face, 1, 5});
    c.back = readIndex(store, {SettingsKeys::back, 0, 5});
    c.flip = readIndex(store, {SettingsKeys::flip, 3, 3});
    c.name1 = PlayerName::fromStore(store.read(SettingsKeys::section, SettingsKeys::name1, {}));
    c.name2 = PlayerName::fromStore(store.read(SettingsKeys::section, SettingsKeys::name2, {}));
    return c;
}

bool saveChoice(SettingsStore& store, const OptionChoice& c)
{
    const auto put = [&store](const QString& key, const QString& value) {
        store.write(SettingsKeys::section, key, value);
    };
    put(SettingsKeys::players, c.players == 1 ? QStringLiteral("1") : QStringLiteral("0"));
    put(SettingsKeys::boardSize, QString::number(c.boardSize));
    put(SettingsKeys::face, QString::number(c.face));
    put(SettingsKeys::back, QString::number(c.back));
    put(SettingsKeys::flip, QString::number(c.flip));
    put(SettingsKeys::name1, c.name1);
    put(SettingsKeys::name2, c.name2);
    return store.sync();
}

GameSettings applyChoice(const OptionChoice& c, int cardSize)
{
    GameSettings s;
    s.cardSize = static_cast<qint16>(cardSize);
    s.twoPlayers = c.players == 1;
    const BoardShape& shape = boardShapes[c.boardSize >= 0 && c.boardSize <= 2 ? c.boardSize : 0];
    s.columns = shape.columns;
    s.rows = shape.rows;
    s.sizeClass = shape.sizeClass;
    s.faceSet = QString::number(c.face);
    s.backSet = QString::number(c.back + 1);
    s.flipDelay = static_cast<qint16>(1000 * (c.flip + 1));
    s.player1Name = c.name1;
    s.player2Name = c.name2;
    return s;
}

QString screenResolutionText(const ScreenMetrics& screen)
{
    const auto whole = [](double v) { return static_cast<long>(std::lround(v)); };
    const long perX = std::max(1L, whole(screen.twipsPerPixelX));
    const long perY = std::max(1L, whole(screen.twipsPerPixelY));
    return QString::number(whole(screen.widthTwips) / perX) + u'x' +
           QString::number(whole(screen.heightTwips) / perY);
}

int detectCardSize(const ScreenMetrics& screen)
{
    const QString text = screenResolutionText(screen);
    if (text == u"640x480")
        return 760;
    if (text == u"800x600")
        return 980;
    return 1300;
}

bool loadSoundOn(const SettingsStore& store)
{
    return store.read(SettingsKeys::section, SettingsKeys::sound, QStringLiteral("1")) != u"0";
}

bool saveSoundOn(SettingsStore& store, bool on)
{
    store.write(SettingsKeys::section, SettingsKeys::sound,
                on ? QStringLiteral("1") : QStringLiteral("0"));
    return store.sync();
}
