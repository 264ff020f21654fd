#include "TestMain.h"

#include "core/AssetCatalogue.h"
#include "core/AssetStore.h"
#include "core/SignalWatcher.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <QStandardPaths>
#include <QtEndian>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray embedded(const AssetCatalogue::Asset& a)
{
    return QResource(AssetCatalogue::resourcePath(a.type, a.number)).uncompressedData();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QString treeFile(const QString& tempPath, const AssetCatalogue::Asset& a)
{
    return tempPath + QStringLiteral("Lotaro/") + a.directory + u'/' + a.fileName;
}

int mode(const QString& path)
{
    struct stat st {};
    return lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

struct JpegInfo {
    bool jfif = false, exif = false, icc = false, baseline = false, progressive = false;
    int width = 0, height = 0, components = 0;
};

JpegInfo readJpeg(const QByteArray& b)
{
    JpegInfo info;
    if (!b.startsWith("\xFF\xD8"))
        return info;
    qsizetype p = 2;
    while (p + 4 <= b.size() && uchar(b[p]) == 0xFF) {
        const uchar marker = uchar(b[p + 1]);
        const int length = qFromBigEndian<quint16>(b.constData() + p + 2);
        const QByteArray body = b.mid(p + 4, length - 2);
        if (marker == 0xE0 && body.startsWith(QByteArray("JFIF\0", 5)))
            info.jfif = true;
        if (marker == 0xE1 && body.startsWith("Exif"))
            info.exif = true;
        if (marker == 0xE2 && body.startsWith("ICC_PROFILE"))
            info.icc = true;
        if (marker == 0xC0 || marker == 0xC2) {
            (marker == 0xC0 ? info.baseline : info.progressive) = true;
            info.height = qFromBigEndian<quint16>(body.constData() + 1);
            info.width = qFromBigEndian<quint16>(body.constData() + 3);
            info.components = uchar(body[5]);
        }
        if (marker == 0xDA)
            break;
        p += 2 + length;
    }
    return info;
}

struct WavInfo {
    QList<QByteArray> chunks;
    int format = 0, channels = 0, rate = 0, bits = 0, blockAlign = 0;
    qint64 samples = 0;
};

WavInfo readWav(const QByteArray& b)
{
    WavInfo w;
    if (!b.startsWith("RIFF") || b.mid(8, 4) != "WAVE")
        return w;
    qsizetype p = 12;
    qint64 dataBytes = 0, factSamples = -1;
    while (p + 8 <= b.size()) {
        const QByteArray id = b.mid(p, 4);
        const quint32 size = qFromLittleEndian<quint32>(b.constData() + p + 4);
        const char* body = b.constData() + p + 8;
        w.chunks.append(id);
        if (id == "fmt ") {
            w.format = qFromLittleEndian<quint16>(body);
            w.channels = qFromLittleEndian<quint16>(body + 2);
            w.rate = int(qFromLittleEndian<quint32>(body + 4));
            w.blockAlign = qFromLittleEndian<quint16>(body + 12);
            w.bits = qFromLittleEndian<quint16>(body + 14);
        } else if (id == "fact") {
            factSamples = qFromLittleEndian<quint32>(body);
        } else if (id == "data") {
            dataBytes = size;
        }
        p += 8 + size + (size & 1);
    }
    w.samples = factSamples >= 0 ? factSamples : dataBytes / qMax(1, w.blockAlign);
    return w;
}
} // namespace

class AssetsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void catalogue();
    void facesAndBacks();
    void sounds();
    void backgroundTile();
    void unpackWritesTheWholeTree();
    void earlierTrees_data();
    void earlierTrees();
    void removalLeavesNothing_data();
    void removalLeavesNothing();
    void plantedLinks_data();
    void plantedLinks();
    void linkInsideTreeAtExit();
    void foreignTree();
    void twoCopies();
    void unpackingInTheBackground();
    void unwritableTemporaryDirectory();
    void signalEndsCleanly();
    void tempDirectory_data();
    void tempDirectory();
    void paths();

private:
    std::unique_ptr<QTemporaryDir> m_base;
    QString base() const { return m_base->path() + u'/'; }
};

void AssetsTest::init()
{
    AssetCatalogue::ensureRegistered();
    m_base = std::make_unique<QTemporaryDir>();
    QVERIFY(m_base->isValid());
}

void AssetsTest::cleanup()
{
    // A test that made something unwritable must not keep the directory from going.
    QDirIterator it(m_base->path(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        chmod(QFile::encodeName(it.next()).constData(), 0700);
    m_base.reset();
}

// 209 assets: six backs, five sets of forty faces numbered from 101, three sounds.
void AssetsTest::catalogue()
{
    const auto& all = AssetCatalogue::all();
    QCOMPARE(int(all.size()), 209);
    QCOMPARE(all.front().type, QStringLiteral("rub"));
    QCOMPARE(all[6].number, 101);
    QCOMPARE(all[6].directory, QStringLiteral("0"));
    QCOMPARE(all[6].fileName, QStringLiteral("1.jpg"));
    QCOMPARE(all[205].number, 300);
    QCOMPARE(all[205].directory, QStringLiteral("4"));
    QCOMPARE(all[205].fileName, QStringLiteral("40.jpg"));
    QCOMPARE(all[45].number, 140);
    QCOMPARE(all[46].directory, QStringLiteral("1"));
    QCOMPARE(all.back().fileName, QStringLiteral("3.wav"));
    QSet<QString> places;
    for (const auto& a : all) {
        places.insert(a.directory + u'/' + a.fileName);
        QVERIFY2(!embedded(a).isEmpty(),
                 qPrintable(AssetCatalogue::resourcePath(a.type, a.number)));
    }
    QCOMPARE(places.size(), 209);
    QCOMPARE(AssetCatalogue::resourcePath(QStringLiteral("CUSTOM"), 101),
             QStringLiteral(":/custom/101.jpg"));
}

// Faces and backs are baseline JFIF pictures in true colour, without EXIF or colour profile,
// 75 pixels for the numbers, 90 for the other sets, 100 for the backs; no two faces of a set
// are the same picture.
void AssetsTest::facesAndBacks()
{
    for (const auto& a : AssetCatalogue::all()) {
        if (a.type == u"zvuky")
            continue;
        const QByteArray bytes = embedded(a);
        const JpegInfo j = readJpeg(bytes);
        const QString name = AssetCatalogue::resourcePath(a.type, a.number);
        QVERIFY2(j.jfif && j.baseline && !j.progressive, qPrintable(name));
        QVERIFY2(!j.exif && !j.icc, qPrintable(name));
        QCOMPARE(j.components, 3);
        const int side = a.type == u"rub" ? 100 : a.number <= 140 ? 75 : 90;
        QVERIFY2(j.width == side && j.height == side, qPrintable(name));
    }
    for (int set = 0; set < 5; ++set) {
        QSet<QByteArray> distinct;
        for (int n = 1; n <= 40; ++n)
            distinct.insert(QResource(AssetCatalogue::resourcePath(QStringLiteral("custom"),
                                                                   100 + 40 * set + n))
                                .uncompressedData());
        QCOMPARE(distinct.size(), 40);
    }
}

void AssetsTest::sounds()
{
    const auto sound = [](int k) {
        return readWav(
            QResource(AssetCatalogue::resourcePath(QStringLiteral("zvuky"), k)).uncompressedData());
    };
    for (int k : {1, 2}) {
        const WavInfo w = sound(k);
        QCOMPARE(w.format, 1);
        QCOMPARE(w.channels, 1);
        QCOMPARE(w.rate, 22050);
        QCOMPARE(w.bits, 16);
        QCOMPARE(w.samples, k == 1 ? 6017 : 2292);
    }
    const WavInfo fanfare = sound(3);
    QCOMPARE(fanfare.format, 2);
    QCOMPARE(fanfare.channels, 2);
    QCOMPARE(fanfare.rate, 22050);
    QCOMPARE(fanfare.bits, 4);
    QCOMPARE(fanfare.blockAlign, 1024);
    QCOMPARE(fanfare.samples, 58624);
    QCOMPARE(fanfare.chunks.mid(0, 3), (QList<QByteArray>{"fact", "fmt ", "data"}));
}

// The tile is a GIF87a of 80 x 79 with a full palette of greys around B6B4B5.
void AssetsTest::backgroundTile()
{
    const QByteArray gif = QResource(QStringLiteral(":/pozadi/pozadi.gif")).uncompressedData();
    QVERIFY(gif.startsWith("GIF87a"));
    QCOMPARE(qFromLittleEndian<quint16>(gif.constData() + 6), 80);
    QCOMPARE(qFromLittleEndian<quint16>(gif.constData() + 8), 79);
    const uchar flags = uchar(gif[10]);
    QVERIFY(flags & 0x80);
    QCOMPARE(flags & 0x07, 7); // 256 entries
    for (int i = 0; i < 256; ++i) {
        const char* rgb = gif.constData() + 13 + 3 * i;
        QVERIFY(rgb[0] == rgb[1] && rgb[1] == rgb[2]);
    }
}

// A fresh unpack makes the private tree with exactly the embedded bytes and nothing else.
void AssetsTest::unpackWritesTheWholeTree()
{
    AssetStore store(m_base->path());
    store.UnpackAssets();
    QCOMPARE(store.tempPath(), base());
    QVERIFY(!store.playsFromEmbedded());
    QCOMPARE(entries(base() + u"Lotaro"), (QStringList{"0", "1", "2", "3", "4", "rub", "zvuky"}));
    QCOMPARE(mode(base() + u"Lotaro"), 0700);
    QCOMPARE(mode(base() + u"Lotaro/rub"), 0700);
    int files = 0;
    for (const auto& a : AssetCatalogue::all()) {
        QCOMPARE(fileBytes(treeFile(store.tempPath(), a)), embedded(a));
        ++files;
    }
    for (const QString& dir : AssetCatalogue::directories())
        QCOMPARE(entries(base() + u"Lotaro/" + dir).size(), dir == u"rub"     ? 6
                                                            : dir == u"zvuky" ? 3
                                                                              : 40);
    QCOMPARE(files, 209);
    store.RemoveAssetTree();
    QCOMPARE(entries(m_base->path()), QStringList());
}

void AssetsTest::earlierTrees_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("complete tree") << QString();
    QTest::newRow("changed file") << QStringLiteral("Lotaro/3/17.jpg");
    QTest::newRow("missing subdirectory") << QStringLiteral("Lotaro/rub");
    QTest::newRow("open to others") << QStringLiteral("Lotaro");
}

// A tree left behind by an earlier run is reused and every file rewritten with the right bytes.
void AssetsTest::earlierTrees()
{
    QFETCH(QString, damage);
    {
        AssetStore earlier(m_base->path());
        earlier.UnpackAssets(); // ends without clean-up, as a crashed run would
    }
    if (damage.endsWith(u".jpg"))
        writeText(base() + damage, "stale");
    else if (damage.endsWith(u"rub"))
        QVERIFY(QDir(base() + damage).removeRecursively());
    else if (!damage.isEmpty())
        QCOMPARE(chmod(QFile::encodeName(base() + damage).constData(), 0777), 0);

    AssetStore store(m_base->path());
    store.UnpackAssets();
    QCOMPARE(store.tempPath(), base());
    for (const auto& a : AssetCatalogue::all())
        QCOMPARE(fileBytes(treeFile(store.tempPath(), a)), embedded(a));
    QCOMPARE(mode(base() + u"Lotaro"), 0700);
    store.RemoveAssetTree();
    QCOMPARE(entries(m_base->path()), QStringList());
}

void AssetsTest::removalLeavesNothing_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("playersFileKept");
    QTest::newRow("tree as unpacked") << QString() << false;
    QTest::newRow("tree already gone") << QStringLiteral("gone") << false;
    QTest::newRow("empty subdirectory") << QStringLiteral("empty") << false;
    QTest::newRow("a dead copy's unfinished file") << QStringLiteral("Lotaro/0/.3.jpg.77") << false;
    QTest::newRow("the player's file in the tree") << QStringLiteral("Lotaro/rub/mine.jpg") << true;
}

void AssetsTest::removalLeavesNothing()
{
    QFETCH(QString, before);
    QFETCH(bool, playersFileKept);
    AssetStore store(m_base->path());
    store.UnpackAssets();
    if (before == u"gone")
        QVERIFY(QDir(base() + u"Lotaro").removeRecursively());
    else if (before == u"empty")
        for (const QString& f : entries(base() + u"Lotaro/2"))
            QVERIFY(QFile::remove(base() + u"Lotaro/2/" + f));
    else if (!before.isEmpty())
        writeText(base() + before, "x");
    // What went from the tree while the game ran is read from the executable instead.
    for (const auto& a : AssetCatalogue::all()) {
        const QString name = QFileInfo(a.fileName).baseName();
        QCOMPARE(fileBytes(a.type == u"rub"     ? store.backPath(name)
                           : a.type == u"zvuky" ? store.soundPath(GameSound(a.number))
                                                : store.facePath(a.directory, name)),
                 embedded(a));
    }
    store.RemoveAssetTree();
    if (playersFileKept) { // only the catalogue's files go, and the directories left empty
        QCOMPARE(entries(base() + u"Lotaro"), QStringList{"rub"});
        QCOMPARE(entries(base() + u"Lotaro/rub"), QStringList{"mine.jpg"});
    } else {
        QCOMPARE(entries(m_base->path()), QStringList());
    }
    store.RemoveAssetTree(); // a second clean-up finds nothing to do
}

void AssetsTest::plantedLinks_data()
{
    QTest::addColumn<QString>("link");
    QTest::newRow("the tree") << QStringLiteral("Lotaro");
    QTest::newRow("a subdirectory") << QStringLiteral("Lotaro/rub");
    QTest::newRow("a file") << QStringLiteral("Lotaro/rub/1.jpg");
}

// A link planted in the temporary directory is never written through nor deleted through:
// the directory it points at keeps its file, and the game still gets its whole tree.
void AssetsTest::plantedLinks()
{
    QFETCH(QString, link);
    QTemporaryDir victim;
    writeText(victim.filePath(QStringLiteral("keep.txt")), "precious");
    const QString target =
        link.endsWith(u".jpg") ? victim.filePath(QStringLiteral("keep.txt")) : victim.path();
    QDir(m_base->path()).mkpath(QFileInfo(base() + link).path());
    QVERIFY(QFile::link(target, base() + link));

    AssetStore store(m_base->path());
    store.UnpackAssets();
    QVERIFY(!store.playsFromEmbedded());
    QCOMPARE(entries(victim.path()), QStringList{"keep.txt"});
    QCOMPARE(fileBytes(victim.filePath(QStringLiteral("keep.txt"))), QByteArray("precious"));
    for (const auto& a : AssetCatalogue::all())
        QCOMPARE(fileBytes(treeFile(store.tempPath(), a)), embedded(a));
    if (link.endsWith(u".jpg")) {
        QCOMPARE(store.tempPath(), base()); // the tree itself is ours; the link is replaced
        QVERIFY(!QFileInfo(base() + link).isSymLink());
    } else {
        QVERIFY(store.tempPath().startsWith(base() + u"Lotaro-"));
    }

    store.RemoveAssetTree();
    QCOMPARE(fileBytes(victim.filePath(QStringLiteral("keep.txt"))), QByteArray("precious"));
    const QStringList left = entries(m_base->path());
    QCOMPARE(left, link.endsWith(u".jpg") ? QStringList() : QStringList{"Lotaro"});
    if (!left.isEmpty())
        QCOMPARE(QFileInfo(base() + u"Lotaro").isSymLink(), link == u"Lotaro");
}

// A link that appears inside the tree while the game runs is left alone by the clean-up.
void AssetsTest::linkInsideTreeAtExit()
{
    QTemporaryDir victim;
    writeText(victim.filePath(QStringLiteral("keep.txt")), "precious");
    AssetStore store(m_base->path());
    store.UnpackAssets();
    QVERIFY(QFile::link(victim.filePath(QStringLiteral("keep.txt")), base() + u"Lotaro/0/x.jpg"));
    QVERIFY(QFile::link(victim.path(), base() + u"Lotaro/1/dir"));
    store.RemoveAssetTree();
    QCOMPARE(entries(victim.path()), QStringList{"keep.txt"});
    QCOMPARE(fileBytes(victim.filePath(QStringLiteral("keep.txt"))), QByteArray("precious"));
    QVERIFY(!QFileInfo::exists(base() + u"Lotaro/2"));
}

// A tree that belongs to another user is neither written into nor deleted.
void AssetsTest::foreignTree()
{
    if (geteuid() != 0)
        QSKIP("only root can give a directory to another user here");
    QVERIFY(QDir(m_base->path()).mkpath(QStringLiteral("Lotaro/rub")));
    writeText(base() + u"Lotaro/rub/theirs.txt", "theirs");
    for (const char* p : {"Lotaro", "Lotaro/rub", "Lotaro/rub/theirs.txt"})
        QCOMPARE(
            chown(QFile::encodeName(base() + QString::fromLatin1(p)).constData(), 65534, 65534), 0);

    AssetStore store(m_base->path());
    store.UnpackAssets();
    QVERIFY(store.tempPath().startsWith(base() + u"Lotaro-"));
    QCOMPARE(entries(base() + u"Lotaro"), QStringList{"rub"});
    QCOMPARE(entries(base() + u"Lotaro/rub"), QStringList{"theirs.txt"});
    store.RemoveAssetTree();
    QCOMPARE(entries(m_base->path()), QStringList{"Lotaro"});
    QCOMPARE(fileBytes(base() + u"Lotaro/rub/theirs.txt"), QByteArray("theirs"));
}

// Two copies share the tree; the first to end leaves it for the other, the last removes it.
void AssetsTest::twoCopies()
{
    auto first = std::make_unique<AssetStore>(m_base->path());
    auto second = std::make_unique<AssetStore>(m_base->path());
    first->UnpackAssets();
    second->UnpackAssets();
    QCOMPARE(second->tempPath(), first->tempPath());
    first->RemoveAssetTree();
    for (const auto& a : AssetCatalogue::all())
        QCOMPARE(fileBytes(treeFile(second->tempPath(), a)), embedded(a));
    second->RemoveAssetTree();
    QCOMPARE(entries(m_base->path()), QStringList());

    // A copy that starts after the tree went makes it anew.
    first = std::make_unique<AssetStore>(m_base->path());
    first->UnpackAssets();
    QVERIFY(QFileInfo::exists(base() + u"Lotaro/zvuky/3.wav"));
    first->RemoveAssetTree();
}

// The files may be written while the first window opens; whoever needs them waits, and a
// clean-up that comes first waits too and leaves nothing behind.
void AssetsTest::unpackingInTheBackground()
{
    AssetStore store(m_base->path());
    store.startUnpacking();
    QCOMPARE(store.tempPath(), base());
    store.finishUnpacking();
    for (const auto& a : AssetCatalogue::all())
        QCOMPARE(fileBytes(treeFile(store.tempPath(), a)), embedded(a));
    store.RemoveAssetTree();

    AssetStore hasty(m_base->path());
    hasty.startUnpacking();
    hasty.RemoveAssetTree();
    QCOMPARE(entries(m_base->path()), QStringList());
}

// Where no tree can be made, the game plays from the executable itself.
void AssetsTest::unwritableTemporaryDirectory()
{
    writeText(base() + u"file", "not a directory");
    AssetStore store(base() + u"file");
    store.UnpackAssets();
    QVERIFY(store.playsFromEmbedded());
    const QString face = store.facePath(QStringLiteral("2"), QStringLiteral("7"));
    QCOMPARE(face, QStringLiteral(":/custom/187.jpg"));
    QVERIFY(QFileInfo::exists(face));
    QVERIFY(QFileInfo::exists(store.backPath(QStringLiteral("6"))));
    QVERIFY(QFileInfo::exists(store.soundPath(GameSound::End)));
    store.RemoveAssetTree();
    QCOMPARE(entries(m_base->path()), QStringList{"file"});
}

// SIGTERM reaches the event loop as a call, where the clean-up can run.
void AssetsTest::signalEndsCleanly()
{
    AssetStore store(m_base->path());
    store.UnpackAssets();
    int received = 0;
    SignalWatcher watcher([&](int number) {
        received = number;
        store.RemoveAssetTree();
    });
    QCOMPARE(raise(SIGTERM), 0);
    QTRY_COMPARE(received, SIGTERM);
    QCOMPARE(entries(m_base->path()), QStringList());
    QCOMPARE(raise(SIGHUP), 0);
    QTRY_COMPARE(received, SIGHUP);
}

void AssetsTest::tempDirectory_data()
{
    QTest::addColumn<int>("runtimeMode");
    QTest::addColumn<bool>("usesRuntime");
    QTest::addColumn<QByteArray>("tmpdir"); // empty: TMPDIR as it is
    QTest::newRow("private runtime directory") << 0700 << true << QByteArray();
    QTest::newRow("runtime directory open to all") << 0777 << false << QByteArray();
    QTest::newRow("no runtime directory") << -1 << false << QByteArray();
    QTest::newRow("no runtime nor temporary directory") << -1 << false << QByteArray("/nowhere");
}

void AssetsTest::tempDirectory()
{
    QFETCH(int, runtimeMode);
    QFETCH(bool, usesRuntime);
    QFETCH(QByteArray, tmpdir);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR"), savedTmp = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", saved);
        qputenv("TMPDIR", savedTmp);
    });
    if (!tmpdir.isEmpty())
        qputenv("TMPDIR", tmpdir);
    const QString runtime = base() + u"run";
    if (runtimeMode >= 0) {
        QVERIFY(QDir().mkpath(runtime));
        QCOMPARE(chmod(QFile::encodeName(runtime).constData(), mode_t(runtimeMode)), 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    } else {
        qunsetenv("XDG_RUNTIME_DIR");
    }
    const QString temp = AssetStore::GetTempDirectory();
    QVERIFY(temp.endsWith(u'/'));
    QVERIFY(!temp.endsWith(u"//"));
    QCOMPARE(temp, usesRuntime         ? runtime + u'/'
                   : !tmpdir.isEmpty() ? QStringLiteral("/tmp/")
                                       : QDir::tempPath() + u'/');
}

// Exactly one separator stands between tempPath and "Lotaro".
void AssetsTest::paths()
{
    AssetStore store(m_base->path(), m_base->path());
    store.UnpackAssets();
    QCOMPARE(store.facePath(QStringLiteral("3"), QStringLiteral("17")),
             QString(base() + u"Lotaro/3/17.jpg"));
    QCOMPARE(store.backPath(QStringLiteral("6")), QString(base() + u"Lotaro/rub/6.jpg"));
    QCOMPARE(store.soundPath(GameSound::Pair), QString(base() + u"Lotaro/zvuky/2.wav"));
    // The own set: next to the executable when it is there, else in the user's data directory.
    QCOMPARE(store.ownSetDirectory(),
             QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/Lotaro"));
    writeText(base() + u"1.jpg", "picture");
    QCOMPARE(store.ownSetDirectory(), m_base->path());
    QCOMPARE(store.facePath(QStringLiteral("5"), QStringLiteral("17")),
             QString(base() + u"17.jpg"));
    store.RemoveAssetTree();
}

LOTARO_TEST_MAIN(AssetsTest, QCoreApplication)
#include "tst_assets.moc"
