#include "regex/MatchReplacer.h"

namespace ql::regex_detail {
namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

class Expander {
public:
    Expander(std::u16string_view subject, const MatchList& matches, int match, std::u16string& out)
        : subject_(subject), matches_(matches), match_(match), out_(out)
    {
    }

    void expand(std::u16string_view replacement)
    {
        std::size_t pos = 0;
        while (pos < replacement.size()) {
            const std::size_t dollar = replacement.find(u'$', pos);
            out_ += replacement.substr(pos, dollar - pos);
            if (dollar == std::u16string_view::npos)
                return;
            pos = dollar + 1 + expandSpecial(replacement.substr(dollar + 1));
        }
    }

private:
    // Appends what "$" followed by `rest` stands for; returns how many units
    // of `rest` that used.
    std::size_t expandSpecial(std::u16string_view rest)
    {
        const Span& whole = matches_.span(match_, 0);
        const char16_t c = rest.empty() ? u'\0' : rest[0];
        switch (c) {
        case u'$':
            out_ += u'$';
            return 1;
        case u'&':
            appendSpan(whole);
            return 1;
        case u'`':
            out_ += subject_.substr(0, whole.begin);
            return 1;
        case u'\'':
            out_ += subject_.substr(whole.end);
            return 1;
        default:
            break;
        }
        if (isDigit(c)) {
            if (rest.size() > 1 && isDigit(rest[1])) {
                const int both = (c - u'0') * 10 + (rest[1] - u'0');
                if (isGroup(both)) {
                    appendSpan(matches_.span(match_, both));
                    return 2;
                }
            }
            if (isGroup(c - u'0')) {
                appendSpan(matches_.span(match_, c - u'0'));
                return 1;
            }
        }
        out_ += u'$';
        return 0;
    }

    bool isGroup(int number) const { return number >= 1 && number <= matches_.groupCount(); }

    void appendSpan(const Span& span)
    {
        if (span.participated())
            out_ += subject_.substr(span.begin, span.length());
    }

    std::u16string_view subject_;
    const MatchList& matches_;
    int match_;
    std::u16string& out_;
};

} // namespace

std::u16string replaceMatches(std::u16string_view subject, const MatchList& matches,
                              std::u16string_view replacement)
{
    std::u16string out;
    std::size_t kept = 0; // the subject up to here is already in out
    for (int match = 0; match < matches.count(); ++match) {
        const Span& whole = matches.span(match, 0);
        out += subject.substr(kept, whole.begin - kept);
        Expander(subject, matches, match, out).expand(replacement);
        kept = whole.end;
    }
    out += subject.substr(kept);
    return out;
}

} // namespace ql::regex_detail
