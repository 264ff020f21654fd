#pragma once

#include <QString>

#include <vector>

// Every picture and sound that the executable carries, by type name and number, with the
// place in the unpacked tree where it belongs.
namespace AssetCatalogue {
struct Asset {
    QString type; // "custom", "rub" or "zvuky"
    int number;
    QString directory; // below "Lotaro/": "0".."4", "rub" or "zvuky"
    QString fileName;  // "1.jpg" …
};

// In the order they are unpacked: backs, faces, sounds.
const std::vector<Asset>& all();
// The subdirectories of the tree, in the order they are created and removed.
const std::vector<QString>& directories();

// Qt resource path of an embedded asset; the type name is matched regardless of case. A
// factor of 2 or 3 names the same picture at that multiple of its size ("101@2x.jpg"), which
// only the executable carries.
QString resourcePath(const QString& type, int number, int factor = 1);

// The side in pixels of a picture as the tree holds it: 75 for the digits, 90 for the other
// faces, 100 for the backs.
int pictureSide(const QString& type, int number);
// Which size of a picture of that side is drawn at devicePixels: the smallest that need not be
// enlarged (1, 2 or 3), and the largest there is beyond that.
int pictureFactor(int side, int devicePixels);

// Makes sure the embedded assets are linked in and registered.
void ensureRegistered();
} // namespace AssetCatalogue
