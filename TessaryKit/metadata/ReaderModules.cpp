#include "metadata/ReaderModules.h"

#include "common/Diagnostics.h"
#include "common/KitCatalogue.h"
#include "metadata/readers/ReaderModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QMutex>
#include <mutex>

using namespace Qt::StringLiterals;
using FieldCatalogue::Group;

namespace ReaderModules {
namespace {

struct Slot {
    const char* fileName;
    FieldCatalogue::Groups groups;
    std::once_flag loaded;
    const ReaderModule* module = nullptr;
};

Slot slots[] = {
    {"image-reader.so", Group::Image, {}},
    {"media-reader.so", Group::Video | Group::Audio, {}},
    {"pdf-reader.so", Group::Pdf, {}},
    {"document-reader.so", Group::Document, {}},
};

QMutex failuresLock;
QStringList failureLines;

QString groupTitles(FieldCatalogue::Groups groups)
{
    QStringList titles;
    for (const Group group : FieldCatalogue::groups)
        if (groups.testFlag(group))
            titles << FieldCatalogue::titleOf(group);
    return titles.join(u", "_s);
}

// The module, or nothing with the reason in `error`. Loaded with every symbol resolved, so that a module
// built against a library that is gone fails here instead of in the middle of a file.
const ReaderModule* load(const QString& path, QString* error)
{
    if (!QFileInfo::exists(path)) { // QLibrary would name the last of the variants it tried instead
        //: Why a metadata reader module was not used; the placeholder is its path
        *error = KitCatalogue::tr("%1 is missing").arg(path);
        return nullptr;
    }
    QLibrary library(path);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library.load()) {
        *error = library.errorString();
        return nullptr;
    }
    using Entry = const ReaderModule* (*)();
    const auto entry = reinterpret_cast<Entry>(library.resolve(readerModuleEntry));
    const ReaderModule* module = entry ? entry() : nullptr;
    if (!module || module->interfaceVersion != ReaderModule::currentInterface ||
        module->qtVersion != QT_VERSION) {
        //: Why a metadata reader module was not used; the placeholder is its path
        *error = KitCatalogue::tr("%1 belongs to another build of Tessary").arg(path);
        library.unload();
        return nullptr;
    }
    return module; // never unloaded: its library's threads and caches stay valid
}

void loadInto(Slot& slot)
{
    const QString path = folder() + u'/' + QLatin1StringView(slot.fileName);
    QString error;
    slot.module = load(path, &error);
    if (slot.module)
        return;
    //: A metadata reader module could not be loaded; the placeholders are the groups' names ("Video,
    //: Audio") and the reason
    const QString line = KitCatalogue::tr("%1 fields can't be read: %2").arg(groupTitles(slot.groups), error);
    qCWarning(metadataLog, "%s", qUtf8Printable(line));
    const QMutexLocker locker(&failuresLock);
    failureLines << line;
}

} // namespace

void read(Group group, const QString& path, Fields& fields)
{
    for (Slot& slot : slots) {
        if (!slot.groups.testFlag(group))
            continue;
        std::call_once(slot.loaded, loadInto, slot);
        if (slot.module)
            slot.module->read(group, path, fields);
        return;
    }
}

QStringList failures()
{
    const QMutexLocker locker(&failuresLock);
    return failureLines;
}

QString folder()
{
    if (const QString chosen = qEnvironmentVariable("TESSARY_READER_MODULES"); !chosen.isEmpty())
        return chosen;
    const QString executable = QFileInfo(u"/proc/self/exe"_s).canonicalFilePath();
    return QDir::cleanPath(QFileInfo(executable).absolutePath() + u"/../lib/tessary"_s);
}

} // namespace ReaderModules
