#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavo {

// The only means by which page text is read. Patterns are PCRE2 in UTF-8 mode with the any-newline
// convention; an empty match is never accepted. A match always yields its whole matched text,
// never a capture group.

// The leftmost match, or "" (a broken pattern or an engine error also gives "").
std::string FirstMatchText(std::string_view text, std::string_view pattern);
// Text checked once for valid UTF-8, so that the many patterns applied to one page skip PCRE2's
// check of the whole subject on every call. The results are those of the plain overloads.
class CheckedText {
public:
    explicit CheckedText(std::string_view text);
    std::string_view text() const { return text_; }
    bool valid() const { return valid_; }

private:
    std::string_view text_;
    bool valid_;
};
std::string FirstMatchText(const CheckedText& text, std::string_view pattern);

// Every non-overlapping match, leftmost first. Raises KavoError on a broken pattern or engine error.
std::vector<std::string> AllMatchTexts(std::string_view text, std::string_view pattern);
// The text with every match removed; on failure the text unchanged.
std::string StripMatches(std::string_view text, std::string_view pattern);
// Everything after the first startMarker, cut before the first endMarker after it (when endMarker is
// non-empty and present). "" when startMarker does not occur. Nothing is trimmed.
std::string TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker);

// Control characters and spaces removed at both ends.
std::string Trimmed(std::string_view text);
// Number of characters (code points) of UTF-8 text.
size_t Utf8Length(std::string_view text);

// Compiled patterns are kept per thread and matched with PCRE2's JIT. Turning this off compiles every
// pattern for each call and checks the subject on every call, as the program first did; the results are
// the same (the extraction benchmark compares the two).
void SetPatternCacheEnabled(bool enabled);

} // namespace kavo
