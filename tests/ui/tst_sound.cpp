#include "TestMain.h"

#include "core/AssetCatalogue.h"
#include "sound/SdlSoundPlayer.h"

#include <QFile>
#include <QResource>
#include <QTemporaryDir>

// Run twice by CTest: with SDL's dummy output device, and with no usable device at all.
class SoundTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void devices();
    void playsAndDropsWhileBusy();
    void unreadableFilesAreNotHeard_data();
    void unreadableFilesAreNotHeard();
    void bothFormatsDecode_data();
    void bothFormatsDecode();
    void onlyWavFiles();

private:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    bool hasDevice() const { return qgetenv("SDL_AUDIODRIVER") == "dummy"; }

    QTemporaryDir m_dir;
    int m_beeps = 0;
    std::unique_ptr<SdlSoundPlayer> m_player;
};

void SoundTest::initTestCase()
{
    AssetCatalogue::ensureRegistered();
    for (int k = 1; k <= 3; ++k)
        QVERIFY(QFile::copy(AssetCatalogue::resourcePath(QStringLiteral("zvuky"), k),
                            file(QStringLiteral("%1.wav").arg(k))));
    QFile garbage(file(QStringLiteral("garbage.wav")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("RIFF....WAVEfmt nonsense");
}

void SoundTest::init()
{
    m_beeps = 0;
    m_player = std::make_unique<SdlSoundPlayer>([this] { ++m_beeps; });
}

void SoundTest::devices()
{
    QCOMPARE(m_player->SoundDevices(), hasDevice() ? 1 : 0);
    QCOMPARE(m_beeps, 0);
}

// A sound plays at once; a request while it plays is dropped, not queued; afterwards the
// next one plays. Without a device every request is one beep.
void SoundTest::playsAndDropsWhileBusy()
{
    m_player->PlaySoundFile(file(QStringLiteral("1.wav")));
    if (!hasDevice()) {
        QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::Beeped);
        m_player->PlaySoundFile(file(QStringLiteral("2.wav")));
        m_player->PlaySoundFile(file(QStringLiteral("missing.wav")));
        QCOMPARE(m_beeps, 3);
        return;
    }
    QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::Played);
    QVERIFY(m_player->isPlaying());
    m_player->PlaySoundFile(file(QStringLiteral("2.wav")));
    QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::Dropped);
    QTRY_VERIFY_WITH_TIMEOUT(!m_player->isPlaying(), 3000);
    m_player->PlaySoundFile(file(QStringLiteral("2.wav")));
    QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::Played);
    QCOMPARE(m_beeps, 0);

    // A quiet game gives the device back, so that nothing wakes while it waits; the next
    // sound opens it again.
    QTRY_VERIFY_WITH_TIMEOUT(!m_player->deviceOpen(), 3000);
    m_player->PlaySoundFile(file(QStringLiteral("1.wav")));
    QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::Played);
    QVERIFY(m_player->deviceOpen());
}

void SoundTest::unreadableFilesAreNotHeard_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << QStringLiteral("missing.wav");
    QTest::newRow("not a sound") << QStringLiteral("garbage.wav");
}

void SoundTest::unreadableFilesAreNotHeard()
{
    QFETCH(QString, name);
    if (!hasDevice())
        QSKIP("without a device every request beeps before the file is looked at");
    m_player->PlaySoundFile(file(name));
    QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::Unreadable);
    QVERIFY(!m_player->isPlaying());
    QCOMPARE(m_beeps, 0);
}

void SoundTest::bothFormatsDecode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("frames");
    QTest::newRow("PCM, mono") << QStringLiteral("1.wav") << 6017;
    QTest::newRow("PCM, short") << QStringLiteral("2.wav") << 2292;
    QTest::newRow("MS ADPCM, stereo, fact chunk first") << QStringLiteral("3.wav") << 58624;
}

// The decoded sound lasts as long as the file says, in the device's format.
void SoundTest::bothFormatsDecode()
{
    QFETCH(QString, name);
    QFETCH(int, frames);
    if (!hasDevice())
        QSKIP("decoding converts to the device's format");
    const QByteArray pcm = m_player->decode(file(name));
    QVERIFY(!pcm.isEmpty());
    // The device was asked for 16-bit stereo at 22050 Hz, which the dummy device grants.
    const int decodedFrames = int(pcm.size() / 4);
    // An ADPCM block may decode a few frames past the count its "fact" chunk gives.
    QVERIFY2(decodedFrames >= frames && decodedFrames < frames + 1100,
             qPrintable(QString::number(decodedFrames)));
    m_player->PlaySoundFile(file(name));
    QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::Played);
}

// The WAV test is made on the upper-cased name; anything else is not played.
void SoundTest::onlyWavFiles()
{
    QVERIFY(QFile::copy(file(QStringLiteral("2.wav")), file(QStringLiteral("LOUD.WAV"))));
    m_player->PlaySoundFile(file(QStringLiteral("LOUD.WAV")));
    QCOMPARE(m_player->lastResult(),
             hasDevice() ? SdlSoundPlayer::Result::Played : SdlSoundPlayer::Result::Beeped);
    const int beeps = m_beeps;
    m_player->PlaySoundFile(QStringLiteral("SystemAsterisk"));
    QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::NotWav);
    m_player->PlaySoundFile(file(QStringLiteral("tune.mid")));
    QCOMPARE(m_player->lastResult(), SdlSoundPlayer::Result::NotWav);
    QCOMPARE(m_beeps, beeps);
}

LOTARO_TEST_MAIN(SoundTest, QCoreApplication)
#include "tst_sound.moc"
