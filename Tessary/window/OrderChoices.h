#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

// The orders the window offers by name, and how any order reads in the window.
class OrderChoices {
    Q_DECLARE_TR_FUNCTIONS(OrderChoices)

public:
    struct Choice {
        QString label;
        QString order; // as the rules store it
    };

    static inline const QString dateTaken = QStringLiteral("image.date,image.time,image.subsec");
    static inline const QString dateModified = QStringLiteral("moddate,modtime");

    // Name, Date Taken, Date Modified, As Listed.
    static QList<Choice> presets();
    // A preset's label, else the fields as written: "album, track".
    static QString label(const QString& order);
};
