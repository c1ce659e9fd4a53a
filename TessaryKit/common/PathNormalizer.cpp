#include "common/PathNormalizer.h"

#include "common/FileNameParts.h"
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
    if (slash > 0 && isCleanPath(path))
        return inRun(QStringView(path).first(slash), QStringView(path).sliced(slash + 1));
    // A path to clean, in the root or without a folder: normalised whole, then split.
    const QString& whole = forms.emplace_back(normalizedPath(path));
    const qsizetype cut = whole.lastIndexOf(u'/') + 1;
    const QString& folder = forms.emplace_back(whole.first(cut));
    return parts(folder, hashOf(folder), QStringView(whole).sliced(cut));
}

PathNormalizer::Parts PathNormalizer::of(const QString& folder, QStringView name)
{
    const bool oneComponent = !name.isEmpty() && !name.contains(u'/') && name != u"." && name != u"..";
    if (folder.size() > 1 && oneComponent && isCleanPath(folder))
        return inRun(folder, name);
    return of(forms.emplace_back(joinPath(folder, name.toString())));
}

PathNormalizer::Parts PathNormalizer::inRun(QStringView folder, QStringView name)
{
    if (!lastForm || folder != lastFolder) {
        lastFolder = folder;
        lastForm = &forms.emplace_back(normalizedPath(folder.toString()) + u'/');
        lastHash = hashOf(*lastForm);
    }
    return parts(*lastForm, lastHash,
                 isNormalizedName(name) ? name
                                        : QStringView(forms.emplace_back(normalizedPath(name.toString()))));
}
