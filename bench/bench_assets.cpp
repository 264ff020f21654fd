// Times the unpacking and removal of the asset tree against the floor of writing the same bytes
// with plain file writes.
#include "assets/AssetCatalogue.h"
#include "assets/AssetStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QResource>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
struct Figures {
    double median, min, max;
};

Figures summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}

void print(const char* what, const Figures& f)
{
    std::printf("%-28s median %7.2f ms   min %7.2f   max %7.2f\n", what, f.median, f.min, f.max);
}
} // namespace

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
    const Figures u = summarise(unpack), r = summarise(remove), f = summarise(floor);
    print("UnpackAssets", u);
    print("RemoveAssetTree", r);
    print("plain writes (floor)", f);
    std::printf("unpack / floor: %.2f\n", u.median / f.median);
    return 0;
}
