#include "MemoryStore.h"
#include "TestMain.h"

#include "core/GameSettings.h"
#include "core/NumberText.h"
#include "core/SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

Q_DECLARE_METATYPE(OptionChoice)

class SettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readAsNumber_data();
    void readAsNumber();
    void signSpace();
    void firstRunDefaults();
    void handEditedStore_data();
    void handEditedStore();
    void derivation_data();
    void derivation();
    void savedTexts();
    void iniRoundTrip();
    void cardSize_data();
    void cardSize();
    void soundSwitch_data();
    void soundSwitch();
};

// A stored number is read like the leading number of the text, rounded; no number reads as 0.
void SettingsTest::readAsNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("letters") << QStringLiteral("abc") << 0;
    QTest::newRow("plain") << QStringLiteral("2") << 2;
    QTest::newRow("blanks around") << QStringLiteral("  2  ") << 2;
    QTest::newRow("trailing junk") << QStringLiteral("7x") << 7;
    QTest::newRow("negative") << QStringLiteral("-1") << -1;
    QTest::newRow("fraction down") << QStringLiteral("1.4") << 1;
    QTest::newRow("fraction up") << QStringLiteral("1.6") << 2;
    QTest::newRow("half to even") << QStringLiteral("2.5") << 2;
    QTest::newRow("leading point") << QStringLiteral(".9") << 1;
    QTest::newRow("lone sign") << QStringLiteral("-") << 0;
    QTest::newRow("huge") << QStringLiteral("99999999999999") << INT_MAX;
    QTest::newRow("non-ascii digit") << QStringLiteral("٣") << 0;
}

void SettingsTest::readAsNumber()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(NumberText::readAsNumber(text), expected);
}

// Counts in the side panel keep a blank where a minus sign would stand.
void SettingsTest::signSpace()
{
    QCOMPARE(NumberText::withSignSpace(7), QStringLiteral(" 7"));
    QCOMPARE(NumberText::withSignSpace(0), QStringLiteral(" 0"));
    QCOMPARE(NumberText::withSignSpace(40), QStringLiteral(" 40"));
    QCOMPARE(NumberText::withSignSpace(-3), QStringLiteral("-3"));
}

// An empty store gives one player, 10 x 8, the first picture set, wood, whole-move flip-back.
void SettingsTest::firstRunDefaults()
{
    MemoryStore store;
    const OptionChoice choice = loadChoice(store);
    QCOMPARE(choice, (OptionChoice{0, 0, 1, 0, 3, QString(), QString()}));
    const GameSettings settings = applyChoice(choice, 1300);
    QCOMPARE(settings.twoPlayers, false);
    QCOMPARE(settings.columns, 10);
    QCOMPARE(settings.rows, 8);
    QCOMPARE(settings.sizeClass, 2);
    QCOMPARE(settings.faceSet, QStringLiteral("1"));
    QCOMPARE(settings.backSet, QStringLiteral("1"));
    QCOMPARE(settings.flipDelay, 4000);
}

// Whatever a hand-edited store holds, the choice stays inside its groups.
void SettingsTest::handEditedStore_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<OptionChoice>("expected");
    const OptionChoice d;
    auto with = [d](auto field, int value) {
        OptionChoice c = d;
        c.*field = value;
        return c;
    };
    QTest::newRow("flip with blanks")
        << QStringLiteral("Otočený") << QStringLiteral(" 2 ") << with(&OptionChoice::flip, 2);
    QTest::newRow("board not a number")
        << QStringLiteral("Počet") << QStringLiteral("abc") << with(&OptionChoice::boardSize, 0);
    QTest::newRow("board out of range") << QStringLiteral("Počet") << QStringLiteral("7") << d;
    QTest::newRow("face out of range") << QStringLiteral("Líc") << QStringLiteral("9") << d;
    QTest::newRow("face rounds into range")
        << QStringLiteral("Líc") << QStringLiteral("4.6") << with(&OptionChoice::face, 5);
    QTest::newRow("back negative") << QStringLiteral("rub") << QStringLiteral("-1") << d;
    QTest::newRow("back last") << QStringLiteral("rub") << QStringLiteral("5")
                               << with(&OptionChoice::back, 5);
    QTest::newRow("players fraction")
        << QStringLiteral("DvaHráči") << QStringLiteral("1.4") << with(&OptionChoice::players, 1);
    QTest::newRow("players two") << QStringLiteral("DvaHráči") << QStringLiteral("2") << d;
    QTest::newRow("flip empty") << QStringLiteral("Otočený") << QString()
                                << with(&OptionChoice::flip, 0);
    OptionChoice longName = d;
    longName.name2 = QStringLiteral("Jan No");
    QTest::newRow("long name on two lines")
        << QStringLiteral("Hráč2") << QString(u"Jan\nNovák" + QString(5000, u'x')) << longName;
}

void SettingsTest::handEditedStore()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(OptionChoice, expected);
    MemoryStore store;
    store.write(SettingsKeys::section, key, stored);
    QCOMPARE(loadChoice(store), expected);
}

void SettingsTest::derivation_data()
{
    QTest::addColumn<OptionChoice>("choice");
    QTest::addColumn<bool>("twoPlayers");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("sizeClass");
    QTest::addColumn<QString>("faceSet");
    QTest::addColumn<QString>("backSet");
    QTest::addColumn<int>("flipDelay");
    QTest::newRow("6 x 5, wall, 2 sec") << OptionChoice{0, 2, 0, 5, 1, {}, {}} << false << 6 << 5
                                        << 0 << QStringLiteral("0") << QStringLiteral("6") << 2000;
    QTest::newRow("8 x 6, two players, own set, 1 sec")
        << OptionChoice{1, 1, 5, 2, 0, {}, {}} << true << 8 << 6 << 1 << QStringLiteral("5")
        << QStringLiteral("3") << 1000;
    QTest::newRow("10 x 8, photos, 3 sec")
        << OptionChoice{0, 0, 4, 0, 2, {}, {}} << false << 10 << 8 << 2 << QStringLiteral("4")
        << QStringLiteral("1") << 3000;
}

void SettingsTest::derivation()
{
    QFETCH(OptionChoice, choice);
    choice.name1 = QStringLiteral("Eva");
    const GameSettings s = applyChoice(choice, 980);
    QTEST(s.twoPlayers, "twoPlayers");
    QTEST(int(s.columns), "columns");
    QTEST(int(s.rows), "rows");
    QTEST(int(s.sizeClass), "sizeClass");
    QTEST(s.faceSet, "faceSet");
    QTEST(s.backSet, "backSet");
    QTEST(int(s.flipDelay), "flipDelay");
    QCOMPARE(s.player1Name, QStringLiteral("Eva"));
    QCOMPARE(s.player2Name, QString());
    QCOMPARE(s.cardSize, 980);
}

// The store keeps option indexes, one key per group in the order of the dialog, then the names.
void SettingsTest::savedTexts()
{
    MemoryStore store;
    saveChoice(store, OptionChoice{1, 2, 5, 5, 1, QStringLiteral("Jana"), QString()});
    const QString s = SettingsKeys::section + u'/';
    QCOMPARE(store.writes, (QStringList{s + u"DvaHráči", s + u"Počet", s + u"Líc", s + u"rub",
                                        s + u"Otočený", s + u"Hráč1", s + u"Hráč2"}));
    QCOMPARE(store.values.value(s + u"DvaHráči"), QStringLiteral("1"));
    QCOMPARE(store.values.value(s + u"Počet"), QStringLiteral("2"));
    QCOMPARE(store.values.value(s + u"Líc"), QStringLiteral("5"));
    QCOMPARE(store.values.value(s + u"rub"), QStringLiteral("5"));
    QCOMPARE(store.values.value(s + u"Otočený"), QStringLiteral("1"));
    QCOMPARE(store.values.value(s + u"Hráč1"), QStringLiteral("Jana"));
    QVERIFY(store.values.contains(s + u"Hráč2"));
    QCOMPARE(store.values.value(s + u"Hráč2"), QString());
}

// The real store keeps Czech keys and names exactly, in the user's configuration directory.
void SettingsTest::iniRoundTrip()
{
    const OptionChoice written{1, 1, 3, 4, 0, QStringLiteral("Žofie"), QStringLiteral("")};
    QString fileName;
    {
        IniSettingsStore store;
        fileName = store.fileName();
        saveChoice(store, written);
        saveSoundOn(store, false);
    }
    QCOMPARE(fileName, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/Lotaro/Lotaro.ini"));
    QVERIFY(QFile::exists(fileName));

    // Read back through a store of its own, as a new run would.
    IniSettingsStore again;
    QCOMPARE(loadChoice(again), written);
    QCOMPARE(loadSoundOn(again), false);

    QSettings raw(fileName, QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Nastavení/Otočený")).toString(), QStringLiteral("0"));
    QCOMPARE(raw.value(QStringLiteral("Nastavení/rub")).toString(), QStringLiteral("4"));
}

void SettingsTest::cardSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cardSize");
    QTest::newRow("640x480") << 640 << 480 << QStringLiteral("640x480") << 760;
    QTest::newRow("800x600") << 800 << 600 << QStringLiteral("800x600") << 980;
    QTest::newRow("1024x768") << 1024 << 768 << QStringLiteral("1024x768") << 1300;
    QTest::newRow("1280x1024") << 1280 << 1024 << QStringLiteral("1280x1024") << 1300;
    QTest::newRow("smaller") << 600 << 400 << QStringLiteral("600x400") << 1300;
    QTest::newRow("640 wide only") << 640 << 400 << QStringLiteral("640x400") << 1300;
}

void SettingsTest::cardSize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    const ScreenMetrics screen{width * 15.0, height * 15.0, 15, 15};
    QTEST(screenResolutionText(screen), "text");
    QTEST(detectCardSize(screen), "cardSize");
}

// Only a stored "0" silences the game.
void SettingsTest::soundSwitch_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("on");
    QTest::newRow("absent") << QString() << true;
    QTest::newRow("off") << QStringLiteral("0") << false;
    QTest::newRow("on") << QStringLiteral("1") << true;
    QTest::newRow("other") << QStringLiteral("ano") << true;
}

void SettingsTest::soundSwitch()
{
    QFETCH(QString, stored);
    MemoryStore store;
    if (!stored.isNull())
        store.write(SettingsKeys::section, SettingsKeys::sound, stored);
    QTEST(loadSoundOn(store), "on");
    saveSoundOn(store, false);
    QCOMPARE(store.values.value(SettingsKeys::section + u"/Zvuk"), QStringLiteral("0"));
}

LOTARO_TEST_MAIN(SettingsTest, QCoreApplication)
#include "tst_settings.moc"
