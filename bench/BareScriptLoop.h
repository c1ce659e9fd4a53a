#pragma once

#include "JSString.h"

#include <QElapsedTimer>
#include <QString>

// The floor of any script stage, and the peer of the script benchmarks: for each item a fresh global
// context, the script evaluated in it, the context released. Microseconds per item.
inline double bareScriptLoopMicroseconds(const QString& script, int items)
{
    const JSContextGroupRef group = JSContextGroupCreate();
    const JSString source(script);
    const JSString url(QStringLiteral("script.js"));
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < items; ++i) {
        const JSGlobalContextRef context = JSGlobalContextCreateInGroup(group, nullptr);
        JSValueRef exception = nullptr;
        JSEvaluateScript(context, source.get(), nullptr, url.get(), 1, &exception);
        JSGlobalContextRelease(context);
    }
    const double elapsed = double(timer.nsecsElapsed()) / 1e3 / items;
    JSContextGroupRelease(group);
    return elapsed;
}
