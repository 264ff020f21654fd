// Times the unpacking and removal of the asset tree against the floor of writing the same bytes
// with plain file writes.
#include "core/AssetCatalogue.h"
#include "core/AssetStore.h"

#include "Figures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QResource>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    AssetCatalogue::ensureRegistered();
    const int rounds = 21;
    std::vector<double> unpack, remove, floor;
    QTemporaryDir base(QDir::tempPath() + QStringLiteral("/lotaro-bench-XXXXXX"));
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        {
            AssetStore store(base.path());
            t.start();
            store.UnpackAssets();
            unpack.push_back(t.nsecsElapsed() / 1e6);
            t.start();
            store.RemoveAssetTree();
            remove.push_back(t.nsecsElapsed() / 1e6);
        }
        // The floor: the same 209 files' bytes written with plain writes into a fresh tree.
        const QString dir = base.path() + QStringLiteral("/floor");
        t.start();
        QDir().mkpath(dir);
        for (const auto& a : AssetCatalogue::all()) {
            QDir().mkpath(dir + u'/' + a.directory);
            QFile f(dir + u'/' + a.directory + u'/' + a.fileName);
            f.open(QIODevice::WriteOnly);
            f.write(QResource(AssetCatalogue::resourcePath(a.type, a.number)).uncompressedData());
        }
        floor.push_back(t.nsecsElapsed() / 1e6);
        QDir(dir).removeRecursively();
    }
    std::printf("temporary directory: %s (%d rounds)\n", qPrintable(base.path()), rounds);
    const Figures u = Figures::of(unpack), f = Figures::of(floor);
    u.print("UnpackAssets");
    Figures::of(remove).print("RemoveAssetTree");
    f.print("plain writes (floor)");
    std::printf("unpack / floor: %.2f\n", u.median / f.median);
    return 0;
}
