#include "MemoryStore.h"
#include "TestMain.h"

#include "core/GameSettings.h"
#include "core/HallOfFame.h"
#include "core/NumberText.h"
#include "core/SettingsStore.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {
// The next game as a store gives it: players, board/size class, faces, back, flip-back delay,
// card size, names, sound.
QString text(const SettingsStore& store)
{
    const GameSettings s = applyChoice(loadChoice(store), 980);
    const auto n = [](int v) { return QString::number(v); };
    return u"%1 %2x%3/%4 %5 %6 %7 %8 %9"_s.arg(
        n(s.twoPlayers + 1), n(s.columns), n(s.rows), n(s.sizeClass), s.faceSet, s.backSet,
        n(s.flipDelay), n(s.cardSize),
        s.player1Name + u'/' + s.player2Name + (loadSoundOn(store) ? u" on" : u" off"));
}

// What the game makes of a text: "number" a stored number (the leading one, rounded half to
// even, 0 for none); "screen" the screen's size in twips and twips per pixel, as the new-game
// dialog shows it and the card size that it allows; else a store that holds only the key,
// edited by hand, as the next game (each option stays inside its group, a name stays what its
// box could take, only "0" silences the game) or as the first place of the medium table (a
// value that does not convert reads as if it were absent).
const std::pair<const char*, const char*> numbers[] = {
    {"", "0"},    {"abc", "0"}, {" \t2  ", "2"}, {"7x", "7"},
    {"-1", "-1"}, {"1.4", "1"}, {"1.6", "2"},    {"2.5", "2"},
    {".9", "1"},  {"-", "0"},   {"٣", "0"},      {"99999999999999", "2147483647"}};
const std::pair<const char*, const char*> screens[] = {
    {"9600 7200 15 15", "640x480 760"},     {"12000 9000 15 15", "800x600 980"},
    {"15360 11520 15 15", "1024x768 1300"}, {"9000 6000 15 15", "600x400 1300"},
    {"9600 6000 15 15", "640x400 1300"},    {"7680 7200 12 15", "640x480 760"}};
const std::tuple<const char*, const char*, QString, const char*> stored[] = {
    {"nothing stored", "Nastavení/Jiný", u"1"_s, "1 10x8/2 1 1 4000 980 / on"},
    {"8 x 6", "Nastavení/Počet", u"1"_s, "1 8x6/1 1 1 4000 980 / on"},
    {"6 x 5", "Nastavení/Počet", u"2"_s, "1 6x5/0 1 1 4000 980 / on"},
    {"flip with blanks", "Nastavení/Otočený", u" 2 "_s, "1 10x8/2 1 1 3000 980 / on"},
    {"flip empty", "Nastavení/Otočený", QString(), "1 10x8/2 1 1 1000 980 / on"},
    {"flip out of range", "Nastavení/Otočený", u"4"_s, "1 10x8/2 1 1 4000 980 / on"},
    {"face rounds into range", "Nastavení/Líc", u"4.6"_s, "1 10x8/2 5 1 4000 980 / on"},
    {"back negative", "Nastavení/rub", u"-1"_s, "1 10x8/2 1 1 4000 980 / on"},
    {"back last", "Nastavení/rub", u"5"_s, "1 10x8/2 1 6 4000 980 / on"},
    {"players fraction", "Nastavení/DvaHráči", u"1.4"_s, "2 10x8/2 1 1 4000 980 / on"},
    {"players out of range", "Nastavení/DvaHráči", u"2"_s, "1 10x8/2 1 1 4000 980 / on"},
    {"long name on two lines", "Nastavení/Hráč2", u"Jan\nNovák"_s + QString(5000, u'x'),
     "1 10x8/2 1 1 4000 980 /Jan No on"},
    {"cut inside a character", "Nastavení/Hráč1", u"Jména😀"_s, "1 10x8/2 1 1 4000 980 Jména/ on"},
    {"sound off", "Nastavení/Zvuk", u"0"_s, "1 10x8/2 1 1 4000 980 / off"},
    {"sound other", "Nastavení/Zvuk", u"ano"_s, "1 10x8/2 1 1 4000 980 / on"},
    {"hall: nothing stored", "Střední/Jiný", u"1"_s, "2000-01-01 ... 999 0"},
    {"hall: moves half a number", "Střední/0Otočené", u"12x"_s, "2000-01-01 ... 999 0"},
    {"hall: moves too many", "Střední/0Otočené", u"40000"_s, "2000-01-01 ... 999 0"},
    {"hall: moves negative", "Střední/0Otočené", u"-5"_s, "2000-01-01 ... -5 0"},
    {"hall: time not a time", "Střední/0Čas", u"soon"_s, "2000-01-01 ... 999 0"},
    {"hall: time out of range", "Střední/0Čas", u"0:61:00"_s, "2000-01-01 ... 999 0"},
    {"hall: time", "Střední/0Čas", u" 1:02:03 "_s, "2000-01-01 ... 999 3723"},
    {"hall: date not a date", "Střední/0Datum", u"32.13.2000"_s, "2000-01-01 ... 999 0"},
    {"hall: date", "Střední/0Datum", u"5.12.2026"_s, "2026-12-05 ... 999 0"},
    {"hall: long name on two lines", "Střední/0Jméno", u"Jan\nNovák"_s + QString(5000, u'x'),
     "2000-01-01 Jan No 999 0"}};
} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void examples_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        for (const auto& [text, expected] : numbers)
            QTest::addRow("number '%s'", text) << "number" << text << expected;
        for (const auto& [text, expected] : screens)
            QTest::addRow("screen %s", text) << "screen" << text << expected;
        for (const auto& [name, key, text, expected] : stored)
            QTest::newRow(name) << key << text << expected;
    }
    void examples()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QString actual;
        if (kind == u"number") {
            actual = QString::number(NumberText::readAsNumber(text));
        } else if (kind == u"screen") {
            const QStringList v = text.split(u' ');
            const ScreenMetrics s{v[0].toDouble(), v[1].toDouble(), v[2].toDouble(),
                                  v[3].toDouble()};
            actual = screenResolutionText(s) + u' ' + QString::number(detectCardSize(s));
        } else {
            MemoryStore store;
            store.write(kind.section(u'/', 0, 0), kind.section(u'/', 1), text);
            HallOfFame hall;
            hall.placeCandidate(1, 5, u"old"_s, 1, QDate(2026, 1, 1)); // what the load replaces
            hall.insertCandidate(1);
            hall.loadHallOfFame(store);
            const HallOfFameEntry e = hall.entry(1, 0);
            actual = kind.startsWith(u"Nastavení")
                         ? ::text(store)
                         : e.date.toString(Qt::ISODate) + u' ' + e.name + u' ' +
                               QString::number(e.turned) + u' ' + QString::number(e.time);
        }
        QTEST(actual, "expected");
    }

    // The real store lives in the user's configuration directory; a file edited by hand is read
    // as written (a name with a comma is a list to the file format), and a save comes back whole.
    void iniStore()
    {
        const QString fileName = IniSettingsStore().fileName();
        QCOMPARE(fileName, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                               u"/Lotaro/Lotaro.ini"_s);
        QFile file(fileName);
        QVERIFY(QDir().mkpath(QFileInfo(fileName).path()) && file.open(QIODevice::WriteOnly));
        file.write("[Nastaven%ED]\nDvaHr%E1%U010Di=1\nL%EDc=4\nHr%E1%U010D1=Jan, Eva\nZvuk=0\n");
        file.close();
        IniSettingsStore edited;
        QCOMPARE(text(edited), u"2 10x8/2 4 1 4000 980 Jan, E/ off"_s);
        saveSoundOn(edited, false);
        saveChoice(edited, OptionChoice{0, 1, 3, 5, 1, u"Žofie"_s, u"Jiří"_s});
        // A save reaches the file in one step at its end: a key written alone after it waits.
        edited.write(u"Nastavení"_s, u"later"_s, u"1"_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.contains(u"Jiří"_s.toUtf8()) && !written.contains("later"));
        QCOMPARE(text(IniSettingsStore()), u"1 8x6/1 3 6 2000 980 Žofie/Jiří off"_s);
    }
};

LOTARO_TEST_MAIN(SettingsTest, QCoreApplication)
#include "tst_settings.moc"
