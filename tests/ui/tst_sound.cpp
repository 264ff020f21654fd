#include "TestMain.h"

#include "core/AssetCatalogue.h"
#include "sound/SdlSoundPlayer.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

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
        if (!QByteArrayList{"beforeOpen", "silentServer"}.contains(QTest::currentTestFunction())) {
            m_player->prepare();
            QTRY_VERIFY(!m_player->opening());
        }
    }

    // The device opens off the caller's thread; a sound asked for meanwhile comes once it is open.
    void beforeOpen()
    {
        m_player->PlaySoundFile(file(QStringLiteral("1.wav")));
        QCOMPARE(m_player->lastResult(), Result::Waiting);
        QTRY_COMPARE(m_player->lastResult(), hasDevice() ? Result::Played : Result::Beeped);
        QCOMPARE(m_beeps, hasDevice() ? 0 : 1);
    }

    // A request while a sound plays is dropped, not queued; afterwards the next one plays. A
    // quiet game gives the device back, so that nothing wakes while it waits.
    void dropsWhileBusy()
    {
        QCOMPARE(m_player->SoundDevices(), hasDevice() ? 1 : 0);
        if (!hasDevice())
            QSKIP("no device to be busy");
        for (Result expected : {Result::Played, Result::Dropped}) {
            m_player->PlaySoundFile(file(QStringLiteral("1.wav")));
            QCOMPARE(m_player->lastResult(), expected);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m_player->isPlaying() && !m_player->deviceOpen(), 5000);
        m_player->PlaySoundFile(file(QStringLiteral("2.wav")));
        QCOMPARE(m_player->lastResult(), Result::Waiting);
        QTRY_VERIFY(m_player->lastResult() == Result::Played && m_player->deviceOpen());
    }

    // A sound server that takes the connection and never answers (run alone, with SDL's
    // PulseAudio driver): neither a sound nor the end of the player waits for it.
    void silentServer()
    {
        if (qgetenv("SDL_AUDIODRIVER") != "pulseaudio")
            QSKIP("needs SDL's PulseAudio driver");
        const QByteArray path = QFile::encodeName(file(QStringLiteral("pulse")));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(server, 4) == 0);
        qputenv("PULSE_SERVER", "unix:" + path);
        for (int i = 0; i < 2; ++i) {
            m_player->PlaySoundFile(file(QStringLiteral("1.wav")));
            QCOMPARE(m_player->lastResult(), Result::Waiting);
        }
        m_player.reset();
        ::close(server);
    }

    void requests_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Result>("withDevice");
        QTest::addColumn<Result>("without");
        QTest::addColumn<int>("frames");
        QTest::newRow("PCM, mono") << "1.wav" << Result::Played << Result::Beeped << 6017;
        QTest::newRow("PCM, short, upper-case name")
            << "LOUD.WAV" << Result::Played << Result::Beeped << 2292;
        QTest::newRow("MS ADPCM, stereo, fact chunk first")
            << "3.wav" << Result::Played << Result::Beeped << 58624;
        QTest::newRow("missing") << "missing.wav" << Result::Unreadable << Result::Beeped << 0;
        QTest::newRow("not a sound") << "garbage.wav" << Result::Unreadable << Result::Beeped << 0;
        QTest::newRow("a system sound")
            << "SystemAsterisk" << Result::NotWav << Result::NotWav << 0;
    }
    // A WAV plays at once, decoded to its length as 16-bit stereo at 22050 Hz (ADPCM may run a
    // few frames over); unreadable files are not heard, nor other formats; no device, one beep.
    void requests()
    {
        QFETCH(QString, name);
        QFETCH(int, frames);
        m_player->PlaySoundFile(name.contains(u'.') ? file(name) : name);
        QTEST(m_player->lastResult(), hasDevice() ? "withDevice" : "without");
        QCOMPARE(m_beeps, m_player->lastResult() == Result::Beeped ? 1 : 0);
        QCOMPARE(m_player->isPlaying(), m_player->lastResult() == Result::Played);
        const int decoded = hasDevice() ? int(m_player->decode(file(name)).size() / 4) : 0;
        QVERIFY2(!hasDevice() || (decoded >= frames && decoded < frames + 1100),
                 qPrintable(QString::number(decoded)));
    }
};

LOTARO_TEST_MAIN(SoundTest, QCoreApplication)
#include "tst_sound.moc"
