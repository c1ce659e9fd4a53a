#pragma once

#include <QList>
#include <QString>
#include <optional>

// The base fields a file can have, grouped by the kind of file that has them, each with a one-line
// description for people choosing a field. The readers are the truth about what a file has; this is
// what they can give.
namespace FieldCatalogue {

enum class Group { File, Image, Video, Audio, Pdf, Document };

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

} // namespace FieldCatalogue
