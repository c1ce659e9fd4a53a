#pragma once

#include <QElapsedTimer>
#include <QString>

// Marks a long operation ("Plan names", "Rename files", …) in the points-of-interest category: one
// debug line when it begins, one with the elapsed time when it ends, on every path out of the scope.
class Signpost {
public:
    Signpost(const char* name, const QString& message);
    ~Signpost();
    Signpost(const Signpost&) = delete;
    Signpost& operator=(const Signpost&) = delete;

private:
    const char* name;
    QElapsedTimer timer;
};
