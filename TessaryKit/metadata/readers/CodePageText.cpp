// The code page adapter on ICU's converters.
#include "metadata/readers/CodePageText.h"

#include <QHash>
#include <QScopeGuard>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

namespace CodePageText {
namespace {

// A converter that stops at the first byte or character it can't map, instead of substituting.
UConverter* strictConverter(const QByteArray& name)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.constData(), &status);
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status)) {
        ucnv_close(converter);
        return nullptr;
    }
    return converter;
}

// ICU knows most code pages by their Windows number. The Mac CJK code pages it doesn't are, but for a
// few Mac symbols that the strict converter refuses, the national encodings they were built on.
UConverter* converterFor(int codePage)
{
    static const QHash<int, QByteArray> macCjkBases{
        {10001, "Shift_JIS"}, {10002, "Big5"}, {10003, "EUC-KR"}, {10008, "GB2312"}};
    for (const char* prefix : {"windows-", "cp"})
        if (UConverter* converter = strictConverter(prefix + QByteArray::number(codePage)))
            return converter;
    return macCjkBases.contains(codePage) ? strictConverter(macCjkBases.value(codePage)) : nullptr;
}

} // namespace

std::optional<QString> decode(const QByteArray& bytes, int codePage)
{
    UConverter* converter = converterFor(codePage);
    if (!converter)
        return std::nullopt;
    const auto close = qScopeGuard([&] { ucnv_close(converter); });
    UErrorCode status = U_ZERO_ERROR;
    QString text(bytes.size() * 2 + 1, Qt::Uninitialized);
    const int32_t length =
        ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()), int32_t(text.size()),
                      bytes.constData(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    return text;
}

std::optional<QByteArray> windows1252Bytes(const QString& text)
{
    UConverter* converter = strictConverter("windows-1252");
    if (!converter)
        return std::nullopt;
    const auto close = qScopeGuard([&] { ucnv_close(converter); });
    UErrorCode status = U_ZERO_ERROR;
    QByteArray bytes(text.size() + 1, Qt::Uninitialized);
    const int32_t length =
        ucnv_fromUChars(converter, bytes.data(), int32_t(bytes.size()),
                        reinterpret_cast<const UChar*>(text.constData()), int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    bytes.truncate(length);
    return bytes;
}

} // namespace CodePageText
