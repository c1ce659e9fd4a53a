#pragma once

#include "platform/FileDescriptor.h"
#include "platform/KitInternal.h"

#include <QString>
#include <optional>
#include <sys/types.h>

// A program started with no arguments and this process's environment, its three standard streams
// connected to pipes, and a process descriptor that becomes readable once it has ended. The process is
// always reaped: by wait(), or on destruction (killed first if it still runs), so none is left behind.
class ChildProcess {
public:
    // Returns nothing and sets `error` to the system's description when the program cannot start.
    static std::optional<ChildProcess> start(const QString& program, QString* error);

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&&) = delete;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // The writing end of the program's standard input, handed over once.
    FileDescriptor takeStandardInput() { return std::move(input); }
    // Non-blocking reading ends of its standard output and error.
    int standardOutput() const { return output.get(); }
    int standardError() const { return error.get(); }
    // Readable once the program has ended.
    int endDescriptor() const { return processDescriptor.get(); }

    // Sends a signal through the process descriptor; harmless once the program has ended.
    void signal(int signalNumber) const;
    struct Ending {
        int status = -1; // the exit status, or the signal's number when a signal ended it
        bool bySignal = false;
    };
    // Waits for the end and reaps.
    Ending wait();

    // The program's memory in RAM or swap, in bytes; nothing once it has ended.
    std::optional<qint64> memoryInUse() const;

private:
    ChildProcess(pid_t pid, FileDescriptor processDescriptor, FileDescriptor input, FileDescriptor output,
                 FileDescriptor error);

    pid_t pid = -1;
    bool reaped = false;
    Ending ending;
    FileDescriptor processDescriptor;
    FileDescriptor input;
    FileDescriptor output;
    FileDescriptor error;
};
