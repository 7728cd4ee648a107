#pragma once
// A regular-expression object with the pattern syntax and options of the
// classic script regular-expression component: ASCII \w \d \s \b, '.' not
// matching '\n', multiline ^ and $ also at '\r', $-replacement syntax.
// Nothing throws: a pattern that cannot be compiled makes execute() return
// false and every reading operation return 0 or the empty text.

#include "text/Text.h"

#include <memory>

namespace ql {

class RegexObject {
public:
    RegexObject();
    ~RegexObject();
    RegexObject(const RegexObject& other);
    RegexObject& operator=(const RegexObject& other);

    // True when the run took place, even if nothing matched.
    bool execute(const Text& pattern, const Text& subject, bool caseSensitive = false,
                 bool multiline = true, bool global = true, bool quoteToken = false);
    Text getPattern() const;
    Text replaceMatches(const Text& replacement) const;
    int matchCount() const;
    // matchIndex and submatchIndex count from 1. position, when given,
    // receives the 0-based byte offset in the subject Text.
    Text matchText(int matchIndex, int* position = nullptr) const;
    Text submatchText(int matchIndex, int submatchIndex, int* position = nullptr) const;
    int submatchCount() const;

private:
    struct Run;
    std::shared_ptr<const Run> run_; // shared by copies, replaced by each execute
};

} // namespace ql
