// Audio tags on TagLib: ID3v1 and v2, Vorbis comments, MP4 atoms, ASF, APE and more, read from the tag
// blocks alone, so a damaged stream keeps its tags.
#include "common/Diagnostics.h"
#include "metadata/readers/MetadataReaders.h"

#include <QFile>
#include <mutex>
#include <taglib/fileref.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfile.h>
#include <taglib/tpropertymap.h>

using namespace Qt::StringLiterals;

namespace MetadataReaders {
namespace {

class RoutedDebugListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String& message) override
    {
        qCDebug(metadataLog, "TagLib: %s", message.toCString(true));
    }
};

void prepareLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        static RoutedDebugListener listener;
        TagLib::setDebugListener(&listener);
    });
}

QString text(const TagLib::String& value)
{
    return QString::fromUtf8(value.toCString(true));
}

} // namespace

std::optional<QList<MetadataItem>> readAudioTags(const QString& path)
{
    prepareLibrary();
    static const QSet<QString> commonKeys{u"title"_s, u"artist"_s, u"album"_s};
    const TagLib::FileRef file(QFile::encodeName(path).constData(), false);
    if (file.isNull() || !file.file()->isValid())
        return std::nullopt;
    QList<MetadataItem> items;
    const TagLib::PropertyMap properties = file.file()->properties();
    for (const auto& [key, values] : properties) {
        const QString identifier = text(key).toLower();
        const auto commonKey = commonKeys.contains(identifier) ? std::optional(identifier) : std::nullopt;
        // Every value of a repeated tag is an item of its own; the rules take the first usable one.
        for (const TagLib::String& value : values)
            items.append(MetadataItem{identifier, commonKey, text(value)});
    }
    return items;
}

} // namespace MetadataReaders
