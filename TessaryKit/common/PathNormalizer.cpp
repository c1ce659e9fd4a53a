#include "common/PathNormalizer.h"

#include "common/NormalizedPath.h"

#include <QHash>

namespace {

size_t hashOf(QStringView text)
{
    return qHash(text, QHashSeed::globalSeed());
}

} // namespace

PathNormalizer::Parts PathNormalizer::parts(const QString& folder, size_t folderHash, QStringView name) const
{
    const size_t nameHash = hashOf(name);
    return {&folder, name,
            folderHash ^ (nameHash + 0x9e3779b97f4a7c15 + (folderHash << 6) + (folderHash >> 2))};
}

// Normalising a clean path's folder and name apart gives its form split at its last slash: neither Unicode
// composition nor lower-casing reaches across a slash.
PathNormalizer::Parts PathNormalizer::of(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash > 0 && isCleanPath(path)) {
        const QStringView folder = QStringView(path).first(slash);
        if (!lastForm || folder != lastFolder) {
            lastFolder = folder;
            lastForm = &forms.emplace_back(normalizedPath(folder.toString()) + u'/');
            lastHash = hashOf(*lastForm);
        }
        const QStringView name = QStringView(path).sliced(slash + 1);
        return parts(
            *lastForm, lastHash,
            isNormalizedName(name) ? name : QStringView(forms.emplace_back(normalizedPath(name.toString()))));
    }
    // A path to clean, in the root or without a folder: normalised whole, then split.
    const QString& whole = forms.emplace_back(normalizedPath(path));
    const qsizetype cut = whole.lastIndexOf(u'/') + 1;
    const QString& folder = forms.emplace_back(whole.first(cut));
    return parts(folder, hashOf(folder), QStringView(whole).sliced(cut));
}
