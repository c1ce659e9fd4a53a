#include "planning/RuleRegex.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

using namespace Qt::StringLiterals;

namespace {

// Enough for any sensible name rule, small enough that a catastrophic one fails in about a millisecond.
constexpr uint32_t matchLimit = 1'000'000;

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};

PCRE2_SPTR16 codeUnits(const QString& text)
{
    return reinterpret_cast<PCRE2_SPTR16>(text.utf16());
}

QString errorMessage(int code)
{
    PCRE2_UCHAR16 buffer[256];
    const int length = pcre2_get_error_message(code, buffer, std::size(buffer));
    return length < 0 ? QString() : QString(reinterpret_cast<const QChar*>(buffer), length);
}

// Named groups ordered by number, that is by opening parenthesis.
QList<std::pair<uint32_t, QString>> namedGroups(const pcre2_code* code)
{
    uint32_t count = 0;
    uint32_t entrySize = 0;
    PCRE2_SPTR16 table = nullptr;
    pcre2_pattern_info(code, PCRE2_INFO_NAMECOUNT, &count);
    pcre2_pattern_info(code, PCRE2_INFO_NAMEENTRYSIZE, &entrySize);
    pcre2_pattern_info(code, PCRE2_INFO_NAMETABLE, &table);
    QList<std::pair<uint32_t, QString>> groups;
    for (uint32_t i = 0; i < count; ++i) {
        const PCRE2_SPTR16 entry = table + i * entrySize; // group number, then the name, zero-terminated
        groups.append({entry[0], QString::fromUtf16(reinterpret_cast<const char16_t*>(entry + 1))});
    }
    std::sort(groups.begin(), groups.end());
    return groups;
}

std::unique_ptr<pcre2_code, CodeDeleter> parsed(const QString& pattern,
                                                std::optional<RuleRegex::Problem>* problem = nullptr)
{
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    std::unique_ptr<pcre2_code, CodeDeleter> code(pcre2_compile(
        codeUnits(pattern), PCRE2_SIZE(pattern.size()),
        PCRE2_UTF | PCRE2_UCP | PCRE2_ANCHORED | PCRE2_ENDANCHORED, &errorCode, &errorOffset, nullptr));
    if (!code && problem)
        *problem = RuleRegex::Problem{errorMessage(errorCode), qsizetype(errorOffset)};
    return code;
}

} // namespace

std::optional<RuleRegex::Problem> RuleRegex::problemOf(const QString& pattern)
{
    std::optional<Problem> problem;
    parsed(pattern, &problem);
    return problem;
}

std::optional<QStringList> RuleRegex::groupNames(const QString& pattern)
{
    const std::unique_ptr<pcre2_code, CodeDeleter> code = parsed(pattern);
    if (!code)
        return std::nullopt;
    QStringList names;
    for (const auto& group : namedGroups(code.get()))
        names.append(group.second);
    return names;
}

struct RuleRegex::Compiled {
    std::unique_ptr<pcre2_code, CodeDeleter> code;
    std::unique_ptr<pcre2_match_context, MatchContextDeleter> context;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> data;
    QList<std::pair<uint32_t, QString>> groups;
};

std::optional<RuleRegex> RuleRegex::compile(const QString& pattern, QString* error)
{
    std::optional<Problem> problem;
    std::unique_ptr<pcre2_code, CodeDeleter> code = parsed(pattern, &problem);
    if (!code) {
        if (error)
            *error = u"%1 at offset %2"_s.arg(problem->message).arg(problem->offset);
        return std::nullopt;
    }
    pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE); // when the JIT is unavailable, the interpreter runs

    auto compiled = std::make_unique<Compiled>();
    compiled->context.reset(pcre2_match_context_create(nullptr));
    pcre2_set_match_limit(compiled->context.get(), matchLimit);
    compiled->data.reset(pcre2_match_data_create_from_pattern(code.get(), nullptr));
    compiled->groups = namedGroups(code.get());
    compiled->code = std::move(code);
    return RuleRegex(std::move(compiled));
}

RuleRegex::RuleRegex(std::unique_ptr<Compiled> compiled) : compiled(std::move(compiled)) {}
RuleRegex::RuleRegex(RuleRegex&&) noexcept = default;
RuleRegex& RuleRegex::operator=(RuleRegex&&) noexcept = default;
RuleRegex::~RuleRegex() = default;

std::optional<RuleRegex::Groups> RuleRegex::matchWhole(const QString& subject)
{
    const int result = pcre2_match(compiled->code.get(), codeUnits(subject), PCRE2_SIZE(subject.size()), 0, 0,
                                   compiled->data.get(), compiled->context.get());
    if (result < 0)
        return std::nullopt; // no match, the match limit, or a text that is not valid UTF-16
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(compiled->data.get());
    const uint32_t pairs = pcre2_get_ovector_count(compiled->data.get());
    Groups groups;
    groups.reserve(compiled->groups.size());
    for (const auto& [number, name] : compiled->groups) {
        const bool tookPart = number < pairs && offsets[2 * number] != PCRE2_UNSET;
        groups.append({name, tookPart
                                 ? subject.sliced(qsizetype(offsets[2 * number]),
                                                  qsizetype(offsets[2 * number + 1] - offsets[2 * number]))
                                 : QString()});
    }
    return groups;
}
