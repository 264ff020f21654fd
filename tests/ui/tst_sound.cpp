#include "TestMain.h"

#include "core/AssetCatalogue.h"
#include "sound/SdlSoundPlayer.h"

#include <QFile>
#include <QTemporaryDir>

using Result = SdlSoundPlayer::Result;
Q_DECLARE_METATYPE(Result)

// Run twice by CTest: with SDL's dummy output device, and with no usable device at all.
class SoundTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    int m_beeps = 0;
    std::unique_ptr<SdlSoundPlayer> m_player;
    QString file(const QString& name) const { return m_dir.filePath(name); }
    bool hasDevice() const { return qgetenv("SDL_AUDIODRIVER") == "dummy"; }

private Q_SLOTS:
    void initTestCase()
    {
        AssetCatalogue::ensureRegistered();
        for (int k = 1; k <= 3; ++k)
            QVERIFY(QFile::copy(AssetCatalogue::resourcePath(QStringLiteral("zvuky"), k),
                                file(QStringLiteral("%1.wav").arg(k))));
        QVERIFY(QFile::copy(file(QStringLiteral("2.wav")), file(QStringLiteral("LOUD.WAV"))));
        QFile garbage(file(QStringLiteral("garbage.wav")));
        QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write("RIFF....WAVEfmt nonsense"));
    }
    void init()
    {
        m_beeps = 0;
        m_player = std::make_unique<SdlSoundPlayer>([this] { ++m_beeps; });
    }

    // A sound plays at once; a request while it plays is dropped, not queued; afterwards the
    // next one plays. A quiet game gives the device back, so that nothing wakes while it
    // waits. Without a device every request is one beep.
    void playsAndDropsWhileBusy()
    {
        QCOMPARE(m_player->SoundDevices(), hasDevice() ? 1 : 0);
        m_player->PlaySoundFile(file(QStringLiteral("1.wav")));
        if (!hasDevice()) {
            QCOMPARE(m_player->lastResult(), Result::Beeped);
            m_player->PlaySoundFile(file(QStringLiteral("missing.wav")));
            QCOMPARE(m_beeps, 2);
            return;
        }
        QCOMPARE(m_player->lastResult(), Result::Played);
        QVERIFY(m_player->isPlaying());
        m_player->PlaySoundFile(file(QStringLiteral("2.wav")));
        QCOMPARE(m_player->lastResult(), Result::Dropped);
        QTRY_VERIFY_WITH_TIMEOUT(!m_player->isPlaying(), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_player->deviceOpen(), 3000);
        m_player->PlaySoundFile(file(QStringLiteral("2.wav")));
        QCOMPARE(m_player->lastResult(), Result::Played);
        QVERIFY(m_player->deviceOpen());
        QCOMPARE(m_beeps, 0);
    }

    void requests_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Result>("withDevice");
        QTest::addColumn<Result>("without");
        QTest::newRow("missing") << "missing.wav" << Result::Unreadable << Result::Beeped;
        QTest::newRow("not a sound") << "garbage.wav" << Result::Unreadable << Result::Beeped;
        QTest::newRow("upper-case name") << "LOUD.WAV" << Result::Played << Result::Beeped;
        QTest::newRow("a system sound") << "SystemAsterisk" << Result::NotWav << Result::NotWav;
        QTest::newRow("MIDI") << "tune.mid" << Result::NotWav << Result::NotWav;
    }
    // Files that cannot be read are not heard; only WAV files are played at all.
    void requests()
    {
        QFETCH(QString, name);
        m_player->PlaySoundFile(name.contains(u'.') ? file(name) : name);
        QTEST(m_player->lastResult(), hasDevice() ? "withDevice" : "without");
        QCOMPARE(m_beeps, m_player->lastResult() == Result::Beeped ? 1 : 0);
        QCOMPARE(m_player->isPlaying(), m_player->lastResult() == Result::Played);
    }

    void bothFormatsDecode_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("frames");
        QTest::newRow("PCM, mono") << QStringLiteral("1.wav") << 6017;
        QTest::newRow("PCM, short") << QStringLiteral("2.wav") << 2292;
        QTest::newRow("MS ADPCM, stereo, fact chunk first") << QStringLiteral("3.wav") << 58624;
    }
    // The decoded sound lasts as long as the file says, in the device's format: 16-bit stereo
    // at 22050 Hz, which the dummy device grants. An ADPCM block may decode a few frames past
    // the count its "fact" chunk gives.
    void bothFormatsDecode()
    {
        QFETCH(QString, name);
        QFETCH(int, frames);
        if (!hasDevice())
            QSKIP("decoding converts to the device's format");
        const int decodedFrames = int(m_player->decode(file(name)).size() / 4);
        QVERIFY2(decodedFrames >= frames && decodedFrames < frames + 1100,
                 qPrintable(QString::number(decodedFrames)));
    }
};

LOTARO_TEST_MAIN(SoundTest, QCoreApplication)
#include "tst_sound.moc"
