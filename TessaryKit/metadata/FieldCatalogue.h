#pragma once

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The base fields a file can have, grouped by the kind of file that has them, each with a one-line
// description for people choosing a field. The readers are the truth about what a file has; this is
// what they can give.
namespace FieldCatalogue {

// File holds the name, the row and the file system's dates; each other group a reader's fields.
enum class Group { File = 0x1, Image = 0x2, Video = 0x4, Audio = 0x8, Pdf = 0x10, Document = 0x20 };
Q_DECLARE_FLAGS(Groups, Group)
inline constexpr Group groups[] = {Group::File,  Group::Image, Group::Video,
                                   Group::Audio, Group::Pdf,   Group::Document};
inline constexpr Groups everyGroup = Groups(0x3f);

struct Field {
    QString name;
    Group group;
    QString description; // in the UI language
};

// In the order people look for them: the groups in enum order, the fields by importance within each.
QList<Field> fields();
QString titleOf(Group group);
// The group of a base field; nothing for a name no reader gives, such as a regex group's.
std::optional<Group> groupOf(const QString& name);

// The groups that `names` belong to; a name no reader gives adds none.
Groups groupsOf(const QStringList& names);

} // namespace FieldCatalogue

Q_DECLARE_OPERATORS_FOR_FLAGS(FieldCatalogue::Groups)
