#include "regex/PatternTranslator.h"

#include <string>

namespace ql::regex_detail {
namespace {

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isOctalDigit(char16_t c) { return c >= u'0' && c <= u'7'; }

// Letter escapes that mean the same in both engines (\x and \u work as in
// the script engine under PCRE2_ALT_BSUX: exactly 2 or 4 hex digits, else
// the letter itself).
bool isSharedLetterEscape(char16_t c)
{
    return std::u16string_view(u"bBdDfnrsStwWxu").find(c) != std::u16string_view::npos;
}

// Letter escapes that PCRE2 gives a meaning the script engine does not have.
// Passing them on would match something the script engine never would, so
// the pattern is refused instead.
bool isForeignLetterEscape(char16_t c)
{
    return std::u16string_view(u"AaCEeGgHhKkNoPpQRVXZz").find(c) != std::u16string_view::npos;
}

void appendHexByte(std::u16string& out, unsigned value)
{
    constexpr char16_t kHexDigits[] = u"0123456789abcdef";
    out += u"\\x";
    out += kHexDigits[(value >> 4) & 0xF];
    out += kHexDigits[value & 0xF];
}

class Translator {
public:
    Translator(std::u16string_view pattern, bool multiline) : in_(pattern), multiline_(multiline) {}

    std::optional<std::u16string> run()
    {
        while (pos_ < in_.size()) {
            if (!(inClass_ ? stepInClass() : stepOutsideClass()))
                return std::nullopt;
        }
        return std::move(out_);
    }

private:
    char16_t peek(std::size_t ahead = 0) const
    {
        return pos_ + ahead < in_.size() ? in_[pos_ + ahead] : u'\0';
    }
    void copy(std::size_t count)
    {
        out_ += in_.substr(pos_, count);
        pos_ += count;
    }

    bool stepOutsideClass()
    {
        switch (peek()) {
        case u'\\':
            return translateEscape();
        case u'[':
            copy(peek(1) == u'^' ? 2 : 1);
            // Under PCRE2_ALLOW_EMPTY_CLASS a ']' right here closes the class,
            // as it does in the script engine.
            inClass_ = true;
            return true;
        case u'(':
            return translateGroupOpening();
        case u'^':
            out_ += multiline_ ? u"(?:\\A|(?<=[\\n\\r]))" : u"\\A";
            ++pos_;
            return true;
        case u'$':
            out_ += multiline_ ? u"(?=[\\n\\r]|\\z)" : u"\\z";
            ++pos_;
            return true;
        case u'*':
        case u'+':
        case u'?':
            copy(1);
            return translateQuantifierSuffix();
        case u'{':
            return translateBrace();
        default:
            copy(1);
            return true;
        }
    }

    bool stepInClass()
    {
        switch (peek()) {
        case u'\\':
            return translateEscape();
        case u']':
            inClass_ = false;
            copy(1);
            return true;
        case u'[': // "[:alpha:]" and the like are plain characters to the script engine
            out_ += u"\\[";
            ++pos_;
            return true;
        default:
            copy(1);
            return true;
        }
    }

    bool translateGroupOpening()
    {
        if (peek(1) == u'?') {
            const char16_t kind = peek(2);
            if (kind != u':' && kind != u'=' && kind != u'!')
                return false;
            copy(3);
            return true;
        }
        if (peek(1) == u'*') // a PCRE2 verb or start-of-pattern option
            return false;
        ++groupsOpened_;
        copy(1);
        return true;
    }

    // After a quantifier: an optional lazy '?', never a possessive '+'.
    bool translateQuantifierSuffix()
    {
        if (peek() == u'?')
            copy(1);
        return peek() != u'+';
    }

    // "{n}", "{n,}" and "{n,m}" are quantifiers; any other brace is a plain
    // character, escaped so that no PCRE2 version reads it otherwise.
    bool translateBrace()
    {
        std::size_t end = 1; // just after the digits that follow '{'
        while (isDigit(peek(end)))
            ++end;
        bool isQuantifier = end > 1;
        if (isQuantifier && peek(end) == u',') {
            ++end;
            while (isDigit(peek(end)))
                ++end;
        }
        isQuantifier = isQuantifier && peek(end) == u'}';
        if (!isQuantifier) {
            out_ += u"\\{";
            ++pos_;
            return true;
        }
        copy(end + 1);
        return translateQuantifierSuffix();
    }

    bool translateEscape()
    {
        if (pos_ + 1 >= in_.size()) // a lone trailing backslash escapes nothing
            return false;
        const char16_t c = peek(1);
        if (isDigit(c)) {
            if (!inClass_ && c != u'0')
                translateBackreferenceOrOctal();
            else
                translateOctal();
            return true;
        }
        if (c == u'c') {
            if (isAsciiLetter(peek(2)))
                copy(3);
            else { // "\c" without a letter is the letter 'c'; what follows is read on its own
                out_ += u'c';
                pos_ += 2;
            }
            return true;
        }
        if (c == u'v') {
            appendHexByte(out_, 0x0B);
            pos_ += 2;
            return true;
        }
        if (isAsciiLetter(c)) {
            if (isForeignLetterEscape(c))
                return false;
            // PCRE2 has no \B inside a class; there, as for every other
            // letter without a meaning, the script engine takes the letter.
            if (isSharedLetterEscape(c) && !(inClass_ && c == u'B'))
                copy(2);
            else {
                out_ += c;
                pos_ += 2;
            }
            return true;
        }
        copy(2); // an escaped symbol stands for itself in both engines
        return true;
    }

    // At "\d..." with d in 1-9, outside a class: the two-digit number if that
    // many groups are opened before it, else the one-digit number followed by
    // a plain digit, else an octal escape, else the digit itself.
    void translateBackreferenceOrOctal()
    {
        const int first = peek(1) - u'0';
        if (isDigit(peek(2))) {
            const int both = first * 10 + (peek(2) - u'0');
            if (both <= groupsOpened_) {
                appendBackreference(both);
                pos_ += 3;
                return;
            }
        }
        if (first <= groupsOpened_) {
            appendBackreference(first);
            pos_ += 2;
            return;
        }
        translateOctal();
    }

    void appendBackreference(int group)
    {
        out_ += u"\\g{";
        for (char16_t digit : std::to_string(group))
            out_ += digit;
        out_ += u'}';
    }

    // At "\d...": up to three octal digits when the first is 0-3, up to two
    // when it is 4-7, so the value never exceeds 0377; \8 and \9 are digits.
    void translateOctal()
    {
        pos_ += 1;
        if (!isOctalDigit(peek())) {
            copy(1);
            return;
        }
        const std::size_t maxDigits = peek() <= u'3' ? 3 : 2;
        unsigned value = 0;
        for (std::size_t taken = 0; taken < maxDigits && isOctalDigit(peek()); ++taken, ++pos_)
            value = value * 8 + (peek() - u'0');
        appendHexByte(out_, value);
    }

    std::u16string_view in_;
    bool multiline_;
    std::size_t pos_ = 0;
    std::u16string out_;
    bool inClass_ = false;
    int groupsOpened_ = 0;
};

} // namespace

std::optional<std::u16string> translatePattern(std::u16string_view pattern, bool multiline)
{
    return Translator(pattern, multiline).run();
}

} // namespace ql::regex_detail
