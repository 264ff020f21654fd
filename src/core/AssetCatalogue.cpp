#include "AssetCatalogue.h"

#include <QtGlobal>

static void registerEmbeddedAssets()
{
    // The resources live in a static library; naming their initialiser keeps the linker from
    // dropping them.
    Q_INIT_RESOURCE(lotaro);
}

namespace AssetCatalogue {
namespace {
std::vector<Asset> buildCatalogue()
{
    std::vector<Asset> assets;
    for (int b = 1; b <= 6; ++b)
        assets.push_back({QStringLiteral("rub"), b, QStringLiteral("rub"),
                          QString::number(b) + QStringLiteral(".jpg")});
    for (int r = 101; r <= 300; ++r) {
        const int set = (r - 101) / 40;
        assets.push_back({QStringLiteral("custom"), r, QString::number(set),
                          QString::number(r - 100 - 40 * set) + QStringLiteral(".jpg")});
    }
    for (int k = 1; k <= 3; ++k)
        assets.push_back({QStringLiteral("zvuky"), k, QStringLiteral("zvuky"),
                          QString::number(k) + QStringLiteral(".wav")});
    return assets;
}
} // namespace

const std::vector<Asset>& all()
{
    static const std::vector<Asset> assets = buildCatalogue();
    return assets;
}

const std::vector<QString>& directories()
{
    static const std::vector<QString> names = {
        QStringLiteral("0"), QStringLiteral("1"),   QStringLiteral("2"),    QStringLiteral("3"),
        QStringLiteral("4"), QStringLiteral("rub"), QStringLiteral("zvuky")};
    return names;
}

QString resourcePath(const QString& type, int number, int factor)
{
    const QString t = type.toLower();
    const QString extension = t == u"zvuky" ? QStringLiteral(".wav") : QStringLiteral(".jpg");
    const QString size = factor > 1 ? u'@' + QString::number(factor) + u'x' : QString();
    return QStringLiteral(":/") + t + u'/' + QString::number(number) + size + extension;
}

int pictureSide(const QString& type, int number)
{
    if (type.compare(u"rub", Qt::CaseInsensitive) == 0)
        return 100;
    return number <= 140 ? 75 : 90;
}

int pictureFactor(int side, int devicePixels)
{
    for (int factor = 1; factor < 3; ++factor) {
        if (devicePixels <= side * factor)
            return factor;
    }
    return 3;
}

void ensureRegistered()
{
    static const bool registered = [] {
        registerEmbeddedAssets();
        return true;
    }();
    Q_UNUSED(registered);
}
} // namespace AssetCatalogue
