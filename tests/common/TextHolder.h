#pragma once

#include <QObject>
#include <QString>

// A model with one text property, to bind editors to in tests; it counts the writes it receives.
class TextHolder : public QObject {
    Q_OBJECT

public:
    QString text() const { return value; }
    void setText(const QString& text)
    {
        ++writes;
        if (text == value)
            return;
        value = text;
        Q_EMIT textChanged();
    }

    int writes = 0;

Q_SIGNALS:
    void textChanged();

private:
    QString value;
};
