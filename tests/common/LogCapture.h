#pragma once

#include <QLoggingCategory>
#include <QMutex>
#include <QStringList>

// Collects the log lines of one category while it lives, from any thread, so that tests can check what
// was logged. `debug` also turns on the category's debug lines (the signposts).
class LogCapture {
public:
    explicit LogCapture(const char* category, bool debug = false)
    {
        const QMutexLocker lock(&mutex);
        wanted = category;
        captured.clear();
        if (debug)
            QLoggingCategory::setFilterRules(QString::fromLatin1(category) + QStringLiteral(".debug=true"));
        previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules({});
    }

    static QStringList lines()
    {
        const QMutexLocker lock(&mutex);
        return captured;
    }

private:
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        const QMutexLocker lock(&mutex);
        if (context.category && qstrcmp(context.category, wanted) == 0)
            captured.append(message);
    }

    static inline QMutex mutex;
    static inline const char* wanted = nullptr;
    static inline QStringList captured;
    QtMessageHandler previous = nullptr;
};
