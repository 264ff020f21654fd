#include "TestMain.h"

#include "core/AssetCatalogue.h"
#include "core/AssetStore.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

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

bool writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

int mode(const QString& path)
{
    struct stat st {};
    return lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// Everything below a directory, links not followed.
QStringList tree(const QString& dir)
{
    QStringList found;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(QDir(dir).relativeFilePath(it.next()));
    found.sort();
    return found;
}

// What a run does (an earlier run without clean-up, only the start of unpacking, unpacking and
// checking the tree, another copy that unpacks, either copy ending), or what is planted on a path
// (links to someone else's, a directory of another user). Expected: where the tree was made and
// what is left.
// clang-format off
enum class Step { Earlier, Start, Unpack, Check, Copy, Ends, CopyEnds,
                  Write, Remove, Open, Dir, Link, FileLink, Foreign };
struct Act { Step step; const char* path = ""; };
using enum Step;
const std::tuple<const char*, std::vector<Act>, const char*> treeExamples[] = {
    {"fresh", {{Unpack}}, "|"},
    {"removed while written", {{Start}}, "|"},
    {"earlier tree, changed file", {{Earlier}, {Write, "Lotaro/3/17.jpg"}, {Unpack}}, "|"},
    {"earlier tree, subdirectory gone", {{Earlier}, {Remove, "Lotaro/rub"}, {Unpack}}, "|"},
    {"earlier tree, open to others", {{Earlier}, {Open, "Lotaro"}, {Unpack}}, "|"},
    {"tree gone while playing", {{Unpack}, {Remove, "Lotaro"}}, "|"},
    {"a dead copy's unfinished file", {{Unpack}, {Write, "Lotaro/0/.3.jpg.77"}}, "|"},
    {"the player's file", {{Unpack}, {Write, "Lotaro/rub/a.jpg"}}, "|Lotaro Lotaro/rub Lotaro/rub/a.jpg"},
    {"a link to a file", {{Unpack}, {FileLink, "Lotaro/0/x.jpg"}}, "|Lotaro Lotaro/0 Lotaro/0/x.jpg"},
    {"a link to a directory", {{Unpack}, {Link, "Lotaro/1/d"}}, "|Lotaro Lotaro/1 Lotaro/1/d"},
    {"planted link as the tree", {{Link, "Lotaro"}, {Unpack}}, "private|Lotaro"},
    {"planted link as a subdirectory", {{Link, "Lotaro/0"}, {Unpack}}, "private|Lotaro Lotaro/0"},
    {"planted link as a file", {{FileLink, "Lotaro/rub/1.jpg"}, {Unpack}}, "|"},
    {"a file cannot be written", {{Dir, "Lotaro/0/1.jpg"}, {Unpack}}, "embedded|Lotaro Lotaro/0 Lotaro/0/1.jpg"},
    {"another copy plays on", {{Unpack}, {Copy}, {Ends}, {Check}, {CopyEnds}, {Copy}, {Check}, {CopyEnds}}, "|"},
    {"another user's tree in a shared directory", {{Foreign, "Lotaro"}, {Unpack}}, "private|Lotaro"}};
// clang-format on
} // namespace

class AssetsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_base, m_victim; // the temporary directory; someone else's
    QString base() const { return m_base->path() + u'/'; }

private Q_SLOTS:
    void init()
    {
        AssetCatalogue::ensureRegistered();
        m_base = std::make_unique<QTemporaryDir>();
        m_victim = std::make_unique<QTemporaryDir>();
        QVERIFY(writeText(m_victim->filePath(u"keep.txt"_s), "precious"));
    }
    // Whatever a test planted, nothing was ever written or deleted through a link.
    void cleanup()
    {
        QCOMPARE(tree(m_victim->path()), QStringList{u"keep.txt"_s});
        QCOMPARE(fileBytes(m_victim->filePath(u"keep.txt"_s)), QByteArray("precious"));
    }

    // The tree in every state that a run may meet it; after the run's clean-up every picture
    // and sound is still read right.
    void trees_data()
    {
        QTest::addColumn<int>("example");
        QTest::addColumn<QString>("expected");
        for (int i = 0; i < int(std::size(treeExamples)); ++i)
            QTest::newRow(std::get<0>(treeExamples[i]))
                << i << QString(std::get<2>(treeExamples[i]));
    }
    void trees()
    {
        QFETCH(int, example);
        AssetStore store(m_base->path()), other(m_base->path());
        QString where;
        const auto check = [&] {
            const QString t = store.tempPath();
            where = t == u":/"                          ? u"embedded"_s
                    : t.startsWith(base() + u"Lotaro-") ? u"private"_s
                    : t == base()                       ? QString()
                                                        : t;
            if (t == u":/")
                return;
            // Seven private directories with the catalogue's 209 files and nothing else.
            QCOMPARE(tree(t + u"Lotaro").size(), 216);
            QCOMPARE((QList<int>{mode(t + u"Lotaro"), mode(t + u"Lotaro/rub"),
                                 mode(t + u"Lotaro/rub/1.jpg")}),
                     (QList<int>{0700, 0700, 0600}));
            for (const auto& a : AssetCatalogue::all())
                QCOMPARE(fileBytes(t + u"Lotaro/" + a.directory + u'/' + a.fileName), embedded(a));
        };
        for (const auto& [step, at] : std::get<1>(treeExamples[example])) {
            const QString path = base() + QLatin1StringView(at);
            switch (step) {
            case Earlier:
                AssetStore(m_base->path()).UnpackAssets();
                break;
            case Start:
                store.startUnpacking();
                QCOMPARE(store.tempPath(), base());
                break;
            case Unpack:
                store.UnpackAssets();
                [[fallthrough]];
            case Check:
                check();
                break;
            case Copy:
                other.UnpackAssets();
                QCOMPARE(other.tempPath(), store.tempPath());
                break;
            case Ends:
            case CopyEnds:
                (step == Ends ? store : other).RemoveAssetTree();
                break;
            case Write:
                QVERIFY(writeText(path, "x"));
                break;
            case Remove:
                QVERIFY(QDir(path).removeRecursively());
                break;
            case Open:
                QCOMPARE(chmod(QFile::encodeName(path).constData(), 0777), 0);
                break;
            case Dir:
                QVERIFY(QDir().mkpath(path));
                break;
            case Link:
            case FileLink:
                QVERIFY(QDir().mkpath(QFileInfo(path).path()));
                QVERIFY(
                    QFile::link(m_victim->filePath(step == Link ? u"."_s : u"keep.txt"_s), path));
                break;
            case Foreign: // sticky and open to all, as a shared temporary directory is
                QVERIFY(QDir().mkpath(path));
                QCOMPARE(chmod(QFile::encodeName(base()).constData(), 01777), 0);
                if (geteuid() == 65534 || chown(QFile::encodeName(path).constData(), 65534, 65534))
                    QSKIP("a directory of another user needs root to make (chown to nobody)");
                break;
            default:
                QFAIL("unknown step");
            }
        }
        store.RemoveAssetTree();
        QTEST(QString(where + u'|' + tree(m_base->path()).join(u' ')), "expected");
        store.RemoveAssetTree(); // a second clean-up finds nothing to do
        // What is not in the tree (any more) is read from the executable.
        for (const auto& a : AssetCatalogue::all()) {
            const QString name = QFileInfo(a.fileName).baseName();
            QCOMPARE(fileBytes(a.type == u"rub"     ? store.backPath(name)
                               : a.type == u"zvuky" ? store.soundPath(GameSound(a.number))
                                                    : store.facePath(a.directory, name)),
                     embedded(a));
        }
    }

    // Where each asset is read from: six backs, 200 faces from 101, three sounds, larger copies
    // for larger cards; the own set next to the executable if there, else the user's data dir.
    void paths()
    {
        const auto& all = AssetCatalogue::all();
        QCOMPARE(int(all.size()), 209);
        QStringList examples;
        for (int i : {0, 6, 45, 46, 205, 208})
            examples << all[i].type + QString::number(all[i].number) + u' ' + all[i].directory +
                            u'/' + all[i].fileName;
        QCOMPARE(examples,
                 (QStringList{"rub1 rub/1.jpg", "custom101 0/1.jpg", "custom140 0/40.jpg",
                              "custom141 1/1.jpg", "custom300 4/40.jpg", "zvuky3 zvuky/3.wav"}));
        QCOMPARE(AssetCatalogue::resourcePath(u"CUSTOM"_s, 101), u":/custom/101.jpg"_s);
        AssetStore store(m_base->path(), m_base->path());
        store.UnpackAssets();
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        QCOMPARE(
            (QStringList{store.facePath(u"3"_s, u"17"_s, 90), store.backPath(u"6"_s, 100),
                         store.soundPath(GameSound::Pair), store.soundPath(GameSound::End),
                         store.facePath(u"5"_s, u"17"_s, 300), store.facePath(u"3"_s, u"17"_s, 91),
                         store.facePath(u"0"_s, u"1"_s, 151), store.backPath(u"6"_s, 200)}),
            (QStringList{base() + u"Lotaro/3/17.jpg", base() + u"Lotaro/rub/6.jpg",
                         base() + u"Lotaro/zvuky/2.wav", base() + u"Lotaro/zvuky/3.wav",
                         data + u"/Lotaro/17.jpg", u":/custom/237@2x.jpg"_s,
                         u":/custom/101@3x.jpg"_s, u":/rub/6@2x.jpg"_s}));
        QVERIFY(writeText(base() + u"1.jpg", "picture"));
        QCOMPARE(store.facePath(u"5"_s, u"17"_s), base() + u"17.jpg");
        store.RemoveAssetTree();
    }
};

LOTARO_TEST_MAIN(AssetsTest, QCoreApplication)
#include "tst_assets.moc"
