// The ICU adapter behind the pattern's case and transliteration formats.
#include "common/TextTransforms.h"

#include <memory>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

namespace TextTransforms {
namespace {

icu::UnicodeString toIcu(const QString& text)
{
    return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
}

QString fromIcu(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), qsizetype(text.length()));
}

} // namespace

QString titleCase(const QString& text)
{
    // ICU's iterators and transliterators are not shared between threads: one of each per planning thread.
    thread_local const std::unique_ptr<icu::BreakIterator> words = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> iterator(
            icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(iterator) : nullptr;
    }();
    if (!words)
        return text;
    icu::UnicodeString unicode = toIcu(text);
    unicode.toTitle(words.get(), icu::Locale::getRoot());
    return fromIcu(unicode);
}

QString toAscii(const QString& text)
{
    thread_local const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> instance(
            icu::Transliterator::createInstance("Any-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(instance) : nullptr;
    }();
    if (!transliterator)
        return text;
    icu::UnicodeString unicode = toIcu(text);
    transliterator->transliterate(unicode);
    return fromIcu(unicode);
}

} // namespace TextTransforms
