#pragma once

#include "platform/KitInternal.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Text in a legacy Windows or Mac code page, decoded with ICU.
namespace CodePageText {

// Nothing when ICU doesn't know the code page or the bytes aren't valid in it.
std::optional<QString> decode(const QByteArray& bytes, int codePage);

// The bytes that windows-1252 decoding turned into `text`: the way back to the original bytes of a text
// that a library decoded as windows-1252 for want of its real code page.
std::optional<QByteArray> windows1252Bytes(const QString& text);

} // namespace CodePageText
