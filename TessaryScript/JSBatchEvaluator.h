#pragma once

#include "JSBatchInput.h"
#include "JSBatchOutputLine.h"

#include <functional>
#include <memory>

// Runs a batch: the script once per item, each item in a fresh global environment of one shared
// virtual machine, with `fields`, `context` and `console` as its globals.
class JSBatchEvaluator {
public:
    using Output = std::function<void(const JSBatchOutputLine&)>;

    JSBatchEvaluator();
    ~JSBatchEvaluator();
    JSBatchEvaluator(JSBatchEvaluator&&) noexcept;
    JSBatchEvaluator& operator=(JSBatchEvaluator&&) noexcept;

    // Calls `output` once per item, in item order, before the next item starts. The running context
    // begins as `input.context` and takes what a successful item left in `context`.
    void run(const JSBatchInput& input, const Output& output) const;

    // The whole helper program: request on standard input, one line per item on standard output,
    // a fatal failure as text on standard error with exit status 1.
    [[noreturn]] static void runWithStandardIO();

private:
    using ItemAt = std::function<Fields(qsizetype)>;
    void run(const QString& script, const Fields& startingContext, qsizetype itemCount, const ItemAt& itemAt,
             const Output& output) const;

    struct VirtualMachine;
    std::unique_ptr<VirtualMachine> vm; // absent when the engine could not create one
};
