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

// Qt resource path of an embedded asset; the type name is matched regardless of case.
QString resourcePath(const QString& type, int number);

// Makes sure the embedded assets are linked in and registered.
void ensureRegistered();
} // namespace AssetCatalogue
