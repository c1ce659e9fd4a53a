#pragma once

#include "JSBatchInput.h"

#include <functional>
#include <memory>

// Runs a batch: the script once per item, each item in a fresh global environment of one shared
// virtual machine, with `fields`, `context` and `console` as its globals.
class JSBatchEvaluator {
public:
    // One answer line of JSON, without its line feed.
    using Output = std::function<void(QByteArray line)>;

    JSBatchEvaluator();
    ~JSBatchEvaluator();
    JSBatchEvaluator(JSBatchEvaluator&&) noexcept;
    JSBatchEvaluator& operator=(JSBatchEvaluator&&) noexcept;

    // Calls `output` once per item, in item order, before the next item starts. The running context
    // begins as `input.context` and takes what a successful item left in `context`.
    void run(const JSBatchInput& input, const Output& output) const;

    // Gives up what the helper must not do once it has its request; the reason when it could not.
    using Confinement = std::function<std::optional<QString>()>;

    // The whole helper program: request on standard input, one line per item on standard output,
    // a fatal failure as text on standard error with exit status 1. `confine` runs once the request is
    // read and the engine is ready, before the first item.
    [[noreturn]] static void runWithStandardIO(const Confinement& confine);

private:
    // Runs what the engine sets up on first use by reading files (the local time zone), so that it needs
    // none once confined.
    void warmUp() const;

    using ItemAt = std::function<Fields(qsizetype)>;
    void run(const QString& script, const Fields& startingContext, qsizetype itemCount, const ItemAt& itemAt,
             const Output& output) const;

    struct VirtualMachine;
    std::unique_ptr<VirtualMachine> vm; // absent when the engine could not create one
};
