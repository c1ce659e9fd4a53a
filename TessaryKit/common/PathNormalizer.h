#pragma once

#include <QString>
#include <QStringView>
#include <deque>

// Normalises many paths of few folders, as normalizedPath does, into two parts: the folder's form with its
// final slash, and the name's. Two paths normalise alike exactly when both parts are equal. A folder's form
// is made once for each run of paths in it, and a lower-case ASCII name is its own form, so most paths take
// no copy. The parts point into the normaliser and into the paths given: both must outlive them.
class PathNormalizer {
public:
    struct Parts {
        const QString* folder;
        QStringView name;
        size_t hash; // with the seed that every QHash takes

        friend bool operator==(const Parts& a, const Parts& b)
        {
            return a.hash == b.hash && a.name == b.name && (a.folder == b.folder || *a.folder == *b.folder);
        }
        friend size_t qHash(const Parts& parts, size_t) { return parts.hash; }
        QString text() const { return *folder + name.toString(); }
    };

    Parts of(const QString& path);
    // The parts of joinPath(folder, name), without joining them for a clean folder and a plain name.
    Parts of(const QString& folder, QStringView name);

private:
    // A clean folder's path and a name in it: the folder's form is made again only when it changed.
    Parts inRun(QStringView folder, QStringView name);
    Parts parts(const QString& folder, size_t folderHash, QStringView name) const;

    QStringView lastFolder; // as given, before normalising: the caller keeps it
    const QString* lastForm = nullptr;
    size_t lastHash = 0;
    std::deque<QString> forms; // stays in place as it grows
};
