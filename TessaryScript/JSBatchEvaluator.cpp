#include "JSBatchEvaluator.h"

#include "BatchedLineWriter.h"
#include "JSBatchOutputLine.h"
#include "JSBatchRequest.h"
#include "JSONFields.h"
#include "JSString.h"
#include "StandardStreams.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QTextBoundaryFinder>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype maxLogLines = 50;
constexpr qsizetype maxLogCharacters = 1000;

// How long an answer line may wait to share a write with later ones, and how much they may fill: a
// screenful of results still arrives within a frame.
constexpr std::chrono::milliseconds answerDelay{5};
constexpr qsizetype answerBlockBytes = 64 * 1024;

// Names the engine sees on every item, created once per process.
struct Names {
    JSString fields{u"fields"_s};
    JSString context{u"context"_s};
    JSString console{u"console"_s};
    JSString line{u"line"_s};
    JSString sourceURL{u"script.js"_s};
    JSString consoleFunctions[5]{JSString(u"log"_s), JSString(u"info"_s), JSString(u"warn"_s),
                                 JSString(u"error"_s), JSString(u"debug"_s)};
};

const Names& names()
{
    static const Names instance;
    return instance;
}

// What one item's engine callbacks append to; reached from the console through the global object.
struct ItemRecord {
    QStringList exceptions;
    QStringList logs;
};

// ECMAScript ToInt32.
qint32 toInt32(double number)
{
    if (!std::isfinite(number))
        return 0;
    const double wrapped = std::fmod(std::trunc(number), 4294967296.0);
    return qint32(quint32(qint64(wrapped < 0 ? wrapped + 4294967296.0 : wrapped)));
}

// ToString; a throwing conversion gives nothing, and its exception goes to `exceptions` when given.
std::optional<QString> toText(JSContextRef ctx, JSValueRef value, QStringList* exceptions);

QString exceptionText(JSContextRef ctx, JSValueRef exception)
{
    // Exceptions raised while describing an exception are dropped rather than reported in turn.
    const std::optional<QString> message = exception ? toText(ctx, exception, nullptr) : std::nullopt;
    if (!message)
        return u"Unknown JavaScript error"_s;
    if (JSValueIsObject(ctx, exception)) {
        JSValueRef failure = nullptr;
        const JSValueRef line =
            JSObjectGetProperty(ctx, JSObjectRef(exception), names().line.get(), &failure);
        if (!failure && line && JSValueIsNumber(ctx, line)) {
            const double number = JSValueToNumber(ctx, line, &failure);
            if (!failure)
                return u"Line %1: %2"_s.arg(toInt32(number)).arg(*message);
        }
    }
    return *message;
}

void report(JSContextRef ctx, JSValueRef exception, QStringList* exceptions)
{
    if (exception && exceptions)
        exceptions->append(exceptionText(ctx, exception));
}

std::optional<QString> toText(JSContextRef ctx, JSValueRef value, QStringList* exceptions)
{
    JSValueRef exception = nullptr;
    JSStringRef string = JSValueToStringCopy(ctx, value, &exception);
    if (exception || !string) {
        report(ctx, exception, exceptions);
        if (string)
            JSStringRelease(string);
        return std::nullopt;
    }
    return JSString::adopt(string).toQString();
}

// JSObjectCopyPropertyNames has no exception parameter and leaves a throwing enumeration (a Proxy's
// ownKeys trap) pending, where the next engine call would report it. Take it out here.
void discardPendingException(JSContextRef ctx)
{
    JSValueRef pending = nullptr;
    JSValueToNumber(ctx, JSValueMakeNumber(ctx, 0), &pending);
}

QString firstCharacters(const QString& text, qsizetype limit)
{
    if (text.size() <= limit) // every user-perceived character takes at least one UTF-16 unit
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype count = 0; count < limit; ++count) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
    }
    return text.first(end);
}

JSValueRef consoleFunction(JSContextRef ctx, JSObjectRef, JSObjectRef, size_t argumentCount,
                           const JSValueRef arguments[], JSValueRef*)
{
    auto* record = static_cast<ItemRecord*>(JSObjectGetPrivate(JSContextGetGlobalObject(ctx)));
    if (!record || record->logs.size() >= maxLogLines)
        return JSValueMakeUndefined(ctx);
    QStringList texts;
    texts.reserve(qsizetype(argumentCount));
    for (size_t i = 0; i < argumentCount; ++i)
        texts.append(toText(ctx, arguments[i], &record->exceptions).value_or(u"undefined"_s));
    record->logs.append(firstCharacters(texts.join(u' '), maxLogCharacters));
    return JSValueMakeUndefined(ctx);
}

JSValueRef makeObject(JSContextRef ctx, const Fields& fields, QStringList& exceptions)
{
    const JSObjectRef object = JSObjectMake(ctx, nullptr, nullptr);
    if (!object)
        return JSValueMakeUndefined(ctx);
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const JSString name(it.key());
        const JSString value(it.value());
        JSValueRef exception = nullptr;
        JSObjectSetProperty(ctx, object, name.get(), JSValueMakeString(ctx, value.get()),
                            kJSPropertyAttributeNone, &exception);
        report(ctx, exception, &exceptions);
    }
    return object;
}

// A property's text as a string value. Nothing for undefined and null, nor when reading or converting
// it throws: exceptions while reading back are not reported, the property they concern is left out.
JSValueRef textOf(JSContextRef ctx, JSObjectRef object, JSStringRef name)
{
    JSValueRef exception = nullptr;
    const JSValueRef property = JSObjectGetProperty(ctx, object, name, &exception);
    if (exception || !property || JSValueIsUndefined(ctx, property) || JSValueIsNull(ctx, property))
        return nullptr;
    if (JSValueIsString(ctx, property))
        return property;
    const JSStringRef string = JSValueToStringCopy(ctx, property, &exception);
    const JSValueRef text = exception || !string ? nullptr : JSValueMakeString(ctx, string);
    if (string)
        JSStringRelease(string);
    return text;
}

// The answer's fields are written as JSON by the engine, in a context of their own that lives as long as
// the helper and never runs a script. There each item's fields become a map without a prototype that holds
// strings only, so its JSON is exact; and maps of the same keys share one layout, which each item's fresh
// context would build anew.
class AnswerTexts {
public:
    explicit AnswerTexts(JSContextGroupRef group) : context(JSGlobalContextCreateInGroup(group, nullptr))
    {
        const JSString source(u"(function () { return Object.create(null); })"_s);
        const JSValueRef function = JSEvaluateScript(context, source.get(), nullptr, nullptr, 1, nullptr);
        if (function && JSValueIsObject(context, function)) {
            makeMap = JSObjectRef(function);
            JSValueProtect(context, makeMap);
        }
    }
    ~AnswerTexts()
    {
        if (makeMap)
            JSValueUnprotect(context, makeMap);
        JSGlobalContextRelease(context);
    }
    AnswerTexts(const AnswerTexts&) = delete;
    AnswerTexts& operator=(const AnswerTexts&) = delete;

    // Every enumerable property of `fields` with its text, as one JSON object; nothing when the engine
    // could not make it.
    std::optional<QByteArray> fieldsJson(JSContextRef ctx, JSObjectRef fields) const
    {
        const JSValueRef made =
            makeMap ? JSObjectCallAsFunction(context, makeMap, nullptr, 0, nullptr, nullptr) : nullptr;
        if (!made || !JSValueIsObject(context, made))
            return std::nullopt;
        const JSObjectRef texts = JSObjectRef(made);
        const JSPropertyNameArrayRef propertyNames = JSObjectCopyPropertyNames(ctx, fields);
        discardPendingException(ctx);
        const size_t count = JSPropertyNameArrayGetCount(propertyNames);
        for (size_t i = 0; i < count; ++i) {
            const JSStringRef name = JSPropertyNameArrayGetNameAtIndex(propertyNames, i);
            if (const JSValueRef text = textOf(ctx, fields, name))
                JSObjectSetProperty(context, texts, name, text, kJSPropertyAttributeNone, nullptr);
        }
        JSPropertyNameArrayRelease(propertyNames);
        const JSStringRef json = JSValueCreateJSONString(context, texts, 0, nullptr);
        if (!json)
            return std::nullopt;
        // Well-formed JSON escapes lone surrogates, so the text converts to UTF-8 unchanged.
        return JSString::adopt(json).view().toUtf8();
    }

private:
    JSGlobalContextRef context;
    JSObjectRef makeMap = nullptr; // Object.create(null)
};

JSValueRef property(JSContextRef ctx, JSObjectRef object, const JSString& name)
{
    JSValueRef exception = nullptr;
    const JSValueRef value = JSObjectGetProperty(ctx, object, name.get(), &exception);
    return exception ? nullptr : value;
}

void setProperty(JSContextRef ctx, JSObjectRef object, const JSString& name, JSValueRef value,
                 QStringList& exceptions)
{
    JSValueRef exception = nullptr;
    JSObjectSetProperty(ctx, object, name.get(), value, kJSPropertyAttributeNone, &exception);
    report(ctx, exception, &exceptions);
}

void installConsole(JSContextRef ctx, JSObjectRef global, QStringList& exceptions)
{
    const JSObjectRef console = JSObjectMake(ctx, nullptr, nullptr);
    if (!console)
        return;
    const JSObjectRef function =
        JSObjectMakeFunctionWithCallback(ctx, names().consoleFunctions[0].get(), consoleFunction);
    for (const JSString& name : names().consoleFunctions)
        setProperty(ctx, console, name, function, exceptions);
    setProperty(ctx, global, names().console, console, exceptions);
}

// The running context between items: the script's values as JSON text, so that numbers stay numbers.
JSValueRef contextFromJson(JSContextRef ctx, const JSString& json, QStringList& exceptions)
{
    const JSValueRef value = JSValueMakeFromJSONString(ctx, json.get());
    return value ? value : makeObject(ctx, {}, exceptions);
}

// What JSON can carry of the script's `context`: functions and undefined drop out as JSON.stringify
// drops them; a value it refuses (a cycle, a BigInt) fails the item with its exception.
std::optional<JSString> contextToJson(JSContextRef ctx, JSValueRef value, QStringList& exceptions)
{
    JSValueRef exception = nullptr;
    const JSStringRef json = JSValueCreateJSONString(ctx, value, 0, &exception);
    if (exception || !json) {
        report(ctx, exception, &exceptions);
        if (json)
            JSStringRelease(json);
        return std::nullopt;
    }
    return JSString::adopt(json);
}

struct ItemOutcome {
    std::optional<QString> error; // present when the item failed
    QByteArray fieldsJson;
    std::optional<JSString> context; // as JSON
    QStringList logs;

    // One line of JSON, without its line feed. A successful item's is built around the engine's JSON of
    // its fields; compact JSON holds no line feed either.
    QByteArray line() const
    {
        if (error) {
            JSBatchOutputLine failed{std::nullopt, error, std::nullopt};
            if (!logs.isEmpty())
                failed.logs = logs;
            return failed.toJsonLine();
        }
        QByteArray line = "{\"fields\":" + fieldsJson;
        if (!logs.isEmpty())
            line +=
                ",\"logs\":" + QJsonDocument(QJsonArray::fromStringList(logs)).toJson(QJsonDocument::Compact);
        return line + '}';
    }
};

ItemOutcome failure(const QString& error, QStringList logs = {})
{
    return ItemOutcome{error, {}, std::nullopt, std::move(logs)};
}

} // namespace

struct JSBatchEvaluator::VirtualMachine {
    JSContextGroupRef group = nullptr;
    JSClassRef globalClass = nullptr; // gives each item's global object room for its ItemRecord
    std::optional<AnswerTexts> answerTexts;

    VirtualMachine()
    {
        JSClassDefinition definition = kJSClassDefinitionEmpty;
        definition.className = "global";
        globalClass = JSClassCreate(&definition);
        group = JSContextGroupCreate();
        if (group)
            answerTexts.emplace(group);
    }
    ~VirtualMachine()
    {
        answerTexts.reset();
        if (group)
            JSContextGroupRelease(group);
        if (globalClass)
            JSClassRelease(globalClass);
    }
    VirtualMachine(const VirtualMachine&) = delete;
    VirtualMachine& operator=(const VirtualMachine&) = delete;

    ItemOutcome evaluate(const JSString& script, const Fields& item, const JSString& context) const
    {
        const JSGlobalContextRef ctx = group ? JSGlobalContextCreateInGroup(group, globalClass) : nullptr;
        if (!ctx)
            return failure(u"Failed to create a JavaScript context"_s);
        const JSObjectRef global = JSContextGetGlobalObject(ctx);
        ItemRecord record;
        JSObjectSetPrivate(global, &record);
        const auto release = qScopeGuard([&] {
            JSObjectSetPrivate(global, nullptr);
            JSGlobalContextRelease(ctx);
        });

        installConsole(ctx, global, record.exceptions);
        setProperty(ctx, global, names().fields, makeObject(ctx, item, record.exceptions), record.exceptions);
        setProperty(ctx, global, names().context, contextFromJson(ctx, context, record.exceptions),
                    record.exceptions);

        JSValueRef exception = nullptr;
        JSEvaluateScript(ctx, script.get(), nullptr, names().sourceURL.get(), 1, &exception);
        report(ctx, exception, &record.exceptions);
        if (!record.exceptions.isEmpty())
            return failure(record.exceptions.join(u'\n'), record.logs);

        const JSValueRef fields = property(ctx, global, names().fields);
        if (!fields || !JSValueIsObject(ctx, fields))
            return failure(u"`fields` must be an object"_s, record.logs);
        auto fieldsJson = answerTexts->fieldsJson(ctx, JSObjectRef(fields));
        if (!fieldsJson)
            return failure(u"The script's fields could not be read back"_s, record.logs);
        const JSValueRef newContext = property(ctx, global, names().context);
        if (!newContext || !JSValueIsObject(ctx, newContext))
            return failure(u"`context` must be an object"_s, record.logs);
        auto json = contextToJson(ctx, newContext, record.exceptions);
        if (!json)
            return failure(record.exceptions.join(u'\n'), record.logs);
        return ItemOutcome{std::nullopt, std::move(*fieldsJson), std::move(json), record.logs};
    }
};

JSBatchEvaluator::JSBatchEvaluator() : vm(std::make_unique<VirtualMachine>())
{
    if (!vm->group)
        vm.reset();
}

JSBatchEvaluator::~JSBatchEvaluator() = default;
JSBatchEvaluator::JSBatchEvaluator(JSBatchEvaluator&&) noexcept = default;
JSBatchEvaluator& JSBatchEvaluator::operator=(JSBatchEvaluator&&) noexcept = default;

void JSBatchEvaluator::run(const JSBatchInput& input, const Output& output) const
{
    run(
        input.script, input.context, input.items.size(), [&](qsizetype i) { return input.items[i]; }, output);
}

void JSBatchEvaluator::run(const QString& scriptText, const Fields& startingContext, qsizetype itemCount,
                           const ItemAt& itemAt, const Output& output) const
{
    const JSString script(scriptText);
    // The request's starting context is text; from the first item on it holds what the script left.
    auto context = std::make_unique<JSString>(QString::fromUtf8(
        QJsonDocument(JSONFields::toObject(startingContext)).toJson(QJsonDocument::Compact)));
    for (qsizetype i = 0; i < itemCount; ++i) {
        ItemOutcome outcome = vm ? vm->evaluate(script, itemAt(i), *context)
                                 : failure(u"Failed to create a JavaScript context"_s);
        output(outcome.line());
        if (outcome.context)
            context = std::make_unique<JSString>(std::move(*outcome.context));
    }
}

namespace {

[[noreturn]] void fail(const QString& description)
{
    StandardStreams::writeAll(STDERR_FILENO, description.toUtf8());
    std::exit(EXIT_FAILURE);
}

std::optional<JSBatchRequest> readRequest(QString* error)
{
    const StandardStreams::ReadResult input = StandardStreams::readToEnd(STDIN_FILENO);
    if (input.error)
        *error = *input.error;
    else if (input.data.isEmpty())
        *error = u"Cannot read input from stdin"_s;
    else
        return JSBatchRequest::fromJson(input.data, error);
    return std::nullopt;
}

} // namespace

void JSBatchEvaluator::warmUp() const
{
    // Only the local time zone is read from a file on first use; locale data is the engine's and its
    // Unicode library's own, in memory, and costs a batch that never asks for it 10 ms to set up.
    const QString script = u"new Date().toString()"_s;
    run(
        script, {}, 1, [](qsizetype) { return Fields(); }, [](QByteArray) {});
}

void JSBatchEvaluator::runWithStandardIO(const Confinement& confine)
{
    // The request is read and decoded on a thread of its own while the engine gets ready, and the client
    // is still writing it; both are done before the fence goes up.
    std::optional<JSBatchRequest> request;
    QString requestError;
    std::thread requestReader([&] { request = readRequest(&requestError); });
    const JSBatchEvaluator evaluator;
    evaluator.warmUp();
    requestReader.join();
    if (!request)
        fail(requestError);
    if (request->itemCount() > 0) {
        if (const auto error = confine())
            fail(*error);
        BatchedLineWriter answers(STDOUT_FILENO, answerDelay, answerBlockBytes);
        const auto failIf = [](const std::optional<QString>& error) {
            if (error)
                fail(u"Failed to write the script result: %1"_s.arg(*error));
        };
        evaluator.run(
            request->script(), request->context(), request->itemCount(),
            [&](qsizetype i) { return request->item(i); },
            [&](const QByteArray& line) { failIf(answers.write(line)); });
        failIf(answers.finish());
    }
    std::exit(EXIT_SUCCESS);
}
