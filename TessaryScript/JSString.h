#pragma once

#include <JavaScriptCore/JavaScript.h>
#include <QString>

// Owns one JavaScriptCore string; converts to and from QString without leaving UTF-16.
class JSString {
public:
    explicit JSString(const QString& text)
        : ref(JSStringCreateWithCharacters(reinterpret_cast<const JSChar*>(text.utf16()),
                                           size_t(text.size())))
    {
    }
    static JSString adopt(JSStringRef owned) { return JSString(owned); }

    JSString(const JSString&) = delete;
    JSString& operator=(const JSString&) = delete;
    JSString(JSString&& other) noexcept : ref(std::exchange(other.ref, nullptr)) {}
    ~JSString()
    {
        if (ref)
            JSStringRelease(ref);
    }

    JSStringRef get() const { return ref; }

    static QStringView view(JSStringRef string)
    {
        return QStringView(reinterpret_cast<const QChar*>(JSStringGetCharactersPtr(string)),
                           qsizetype(JSStringGetLength(string)));
    }
    QStringView view() const { return view(ref); }
    static QString toQString(JSStringRef string) { return view(string).toString(); }
    QString toQString() const { return toQString(ref); }

private:
    explicit JSString(JSStringRef owned) : ref(owned) {}
    JSStringRef ref;
};
