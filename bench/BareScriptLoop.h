#pragma once

#include "JSString.h"

#include <QElapsedTimer>
#include <QString>

// The floor of any script stage, and the peer of the script benchmarks: for each item a fresh global
// context, the script evaluated in it, the context released. Microseconds per item. A script that reads
// `fields` throws in a bare context, and the engine's exceptions cost more than the rest of the loop: with
// `fieldsJson`, each context first gets that object as `fields`, so that the script runs to its end.
inline double bareScriptLoopMicroseconds(const QString& script, int items, const QString& fieldsJson = {})
{
    const JSContextGroupRef group = JSContextGroupCreate();
    const JSString source(script);
    const JSString url(QStringLiteral("script.js"));
    const JSString fieldsName(QStringLiteral("fields"));
    const JSString fields(fieldsJson);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < items; ++i) {
        const JSGlobalContextRef context = JSGlobalContextCreateInGroup(group, nullptr);
        if (!fieldsJson.isEmpty())
            JSObjectSetProperty(context, JSContextGetGlobalObject(context), fieldsName.get(),
                                JSValueMakeFromJSONString(context, fields.get()), kJSPropertyAttributeNone,
                                nullptr);
        JSValueRef exception = nullptr;
        JSEvaluateScript(context, source.get(), nullptr, url.get(), 1, &exception);
        JSGlobalContextRelease(context);
    }
    const double elapsed = double(timer.nsecsElapsed()) / 1e3 / items;
    JSContextGroupRelease(group);
    return elapsed;
}
