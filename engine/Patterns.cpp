#include "engine/Patterns.h"

#include "common/Encoding.h"
#include "common/Error.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <atomic>
#include <memory>
#include <unordered_map>

namespace kavo {
namespace {

std::atomic<bool> cacheEnabled{true};

struct CodeFree {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct ContextFree {
    void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
struct MatchContextFree {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
using CodePtr = std::unique_ptr<pcre2_code, CodeFree>;
using MatchDataPtr = std::unique_ptr<pcre2_match_data, MatchDataFree>;

std::string pcreMessage(int code) {
    PCRE2_UCHAR buffer[256];
    if (pcre2_get_error_message(code, buffer, sizeof buffer) < 0)
        return "pattern error " + std::to_string(code);
    return reinterpret_cast<const char*>(buffer);
}

struct CompiledPattern {
    CodePtr code;
    MatchDataPtr data;
    bool jit = false;
};

std::unique_ptr<CompiledPattern> compile(std::string_view pattern, bool withJit) {
    // The newline convention lives in the compile context, not among the option bits.
    std::unique_ptr<pcre2_compile_context, ContextFree> context(pcre2_compile_context_create(nullptr));
    if (!context)
        throw KavoError("out of memory compiling a pattern");
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANY);
    int error = 0;
    PCRE2_SIZE offset = 0;
    CodePtr code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), PCRE2_UTF,
                               &error, &offset, context.get()));
    if (!code)
        throw KavoError("bad pattern \"" + std::string(pattern) + "\" at " + std::to_string(offset) + ": " +
                        pcreMessage(error));
    auto compiled = std::make_unique<CompiledPattern>();
    compiled->jit = withJit && pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE) == 0;
    compiled->data.reset(pcre2_match_data_create_from_pattern(code.get(), nullptr));
    if (!compiled->data)
        throw KavoError("out of memory matching a pattern");
    compiled->code = std::move(code);
    return compiled;
}

// Hands out the compiled pattern for this call: kept per thread, or made afresh when keeping is off.
class PatternHandle {
public:
    explicit PatternHandle(std::string_view pattern) {
        if (!cacheEnabled.load(std::memory_order_relaxed)) {
            owned_ = compile(pattern, false);
            pattern_ = owned_.get();
            return;
        }
        thread_local std::unordered_map<std::string, std::unique_ptr<CompiledPattern>> cache;
        auto found = cache.find(std::string(pattern));
        if (found == cache.end())
            found = cache.emplace(std::string(pattern), compile(pattern, true)).first;
        pattern_ = found->second.get();
    }
    CompiledPattern& operator*() const { return *pattern_; }

private:
    std::unique_ptr<CompiledPattern> owned_;
    CompiledPattern* pattern_ = nullptr;
};

// A pattern that can split a long run of text in many ways backtracks over every split when the rest of
// the pattern never matches: on half a megabyte of page without a "<" the JIT ran 14 s into its default
// limit of 10 million steps. A far lower limit ends such a match in well under a second; real pages
// need only thousands of steps for any of our patterns.
constexpr uint32_t kMatchLimit = 1000000;

// Read-only while matching, so one context serves every thread.
pcre2_match_context* matchContext() {
    static const std::unique_ptr<pcre2_match_context, MatchContextFree> context = [] {
        std::unique_ptr<pcre2_match_context, MatchContextFree> made(pcre2_match_context_create(nullptr));
        if (made)
            pcre2_set_match_limit(made.get(), kMatchLimit);
        return made;
    }();
    return context.get();
}

// Finds the next non-empty match at or after `start`; false when there is none. Raises on engine errors.
// A JIT failure (its stack limit) is answered by the interpreter so results never depend on the JIT.
bool nextMatch(CompiledPattern& p, std::string_view text, size_t start, size_t& from, size_t& to,
               uint32_t extra = 0) {
    auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    const uint32_t options = PCRE2_NOTEMPTY | extra;
    int rc = pcre2_match(p.code.get(), subject, text.size(), start, options, p.data.get(), matchContext());
    if (rc < 0 && rc != PCRE2_ERROR_NOMATCH && p.jit)
        rc = pcre2_match(p.code.get(), subject, text.size(), start, options | PCRE2_NO_JIT, p.data.get(),
                         matchContext());
    if (rc == PCRE2_ERROR_NOMATCH)
        return false;
    if (rc < 0)
        throw KavoError("pattern match failed: " + pcreMessage(rc));
    PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(p.data.get());
    from = ovector[0];
    to = ovector[1];
    return true;
}

template <typename OnMatch>
void forEachMatch(std::string_view text, std::string_view pattern, OnMatch onMatch) {
    PatternHandle handle(pattern);
    size_t start = 0, from = 0, to = 0;
    uint32_t extra = 0;
    while (start <= text.size() && nextMatch(*handle, text, start, from, to, extra)) {
        onMatch(from, to);
        start = to;
        // The first search checked the whole subject; the later ones need not check it again.
        extra = PCRE2_NO_UTF_CHECK;
    }
}

} // namespace

void SetPatternCacheEnabled(bool enabled) {
    cacheEnabled = enabled;
}

std::string FirstMatchText(std::string_view text, std::string_view pattern) {
    try {
        PatternHandle handle(pattern);
        size_t from = 0, to = 0;
        if (nextMatch(*handle, text, 0, from, to))
            return std::string(text.substr(from, to - from));
    } catch (const std::exception&) {
    }
    return {};
}

CheckedText::CheckedText(std::string_view text) : text_(text), valid_(IsValidUtf8(text)) {}

std::string FirstMatchText(const CheckedText& text, std::string_view pattern) {
    if (!cacheEnabled.load(std::memory_order_relaxed))
        return FirstMatchText(text.text(), pattern);
    // PCRE2 refuses invalid UTF-8 with an error, which FirstMatchText answers with "".
    if (!text.valid())
        return {};
    try {
        PatternHandle handle(pattern);
        size_t from = 0, to = 0;
        if (nextMatch(*handle, text.text(), 0, from, to, PCRE2_NO_UTF_CHECK))
            return std::string(text.text().substr(from, to - from));
    } catch (const std::exception&) {
    }
    return {};
}

std::vector<std::string> AllMatchTexts(std::string_view text, std::string_view pattern) {
    std::vector<std::string> matches;
    forEachMatch(text, pattern,
                 [&](size_t from, size_t to) { matches.emplace_back(text.substr(from, to - from)); });
    return matches;
}

std::string StripMatches(std::string_view text, std::string_view pattern) {
    try {
        std::string result;
        result.reserve(text.size());
        size_t kept = 0;
        forEachMatch(text, pattern, [&](size_t from, size_t to) {
            result.append(text.substr(kept, from - kept));
            kept = to;
        });
        result.append(text.substr(kept));
        return result;
    } catch (const std::exception&) {
        return std::string(text);
    }
}

std::string TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker) {
    size_t start = text.find(startMarker);
    if (start == std::string_view::npos)
        return {};
    std::string_view rest = text.substr(start + startMarker.size());
    if (!endMarker.empty()) {
        size_t end = rest.find(endMarker);
        if (end != std::string_view::npos)
            rest = rest.substr(0, end);
    }
    return std::string(rest);
}

std::string Trimmed(std::string_view text) {
    // Control characters and the space, as the program has always trimmed.
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t begin = 0, end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

size_t Utf8Length(std::string_view text) {
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

} // namespace kavo
