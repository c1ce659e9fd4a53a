#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Whole-stream reads and writes on raw descriptors, so every answer line reaches the reader at once.
namespace StandardStreams {

struct ReadResult {
    QByteArray data;
    std::optional<QString> error; // the system's description when reading failed
};

ReadResult readToEnd(int descriptor);

// Returns the system's description of the failure, or nothing when every byte was written.
std::optional<QString> writeAll(int descriptor, QByteArrayView bytes);

} // namespace StandardStreams
