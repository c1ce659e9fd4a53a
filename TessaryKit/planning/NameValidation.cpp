#include "planning/NameValidation.h"

#include "common/KitCatalogue.h"

namespace {

bool isBlank(QChar character)
{
    return character == u'\t' || character.category() == QChar::Separator_Space;
}

bool isBlankOnly(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), isBlank);
}

bool isControl(QChar character)
{
    return character.category() == QChar::Other_Control;
}

qsizetype utf8Length(const QString& text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < 0x80) {
            bytes += 1;
        } else if (unit < 0x800) {
            bytes += 2;
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

} // namespace

std::optional<QString> validateName(const QString& newStem, const QString& newName)
{
    if (isBlankOnly(newStem))
        //: Error shown for a file in the file list
        return KitCatalogue::tr("The new name is empty");
    if (newName == u"." || newName == u"..")
        //: Error shown for a file in the file list; the placeholder is the new name, . or ..
        return KitCatalogue::tr("“%1” can't be used as a file name").arg(newName);
    if (newName.contains(u'/') || newName.contains(u':'))
        //: Error shown for a file in the file list; the placeholder is the new name
        return KitCatalogue::tr("The new name “%1” contains “/” or “:”, which can't be used in file names")
            .arg(newName);
    if (!QStringView(newName).isValidUtf16()) // on disk it would become U+FFFD, and clash with other names
        //: Error shown for a file in the file list; a script can make such names
        return KitCatalogue::tr(
            "The new name contains a lone surrogate (half of a character), which can't be "
            "written in a file name");
    if (std::any_of(newName.cbegin(), newName.cend(), isControl))
        //: Error shown for a file in the file list
        return KitCatalogue::tr("The new name contains line breaks or other control characters");
    if (const qsizetype bytes = utf8Length(newName); bytes > maxNameBytes)
        //: Error shown for a file in the file list; the placeholder is the length of the new name in bytes
        return KitCatalogue::tr("The new name is too long (%1 bytes, the limit is 255)").arg(bytes);
    return std::nullopt;
}
