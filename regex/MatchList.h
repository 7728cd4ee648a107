#pragma once
// The matches of one run, in subject order. Each match holds the begin and
// end of the whole match and of every capturing group, in UTF-16 code units
// of the subject.

#include <cstdint>
#include <vector>

namespace ql::regex_detail {

struct Span {
    std::int32_t begin = -1; // -1: the group took no part in the match
    std::int32_t end = -1;

    bool participated() const { return begin >= 0; }
    std::int32_t length() const { return end - begin; }
};

class MatchList {
public:
    explicit MatchList(int groupCount) : groupCount_(groupCount) {}

    int count() const { return static_cast<int>(spans_.size()) / (groupCount_ + 1); }
    int groupCount() const { return groupCount_; }
    // match from 0 to count()-1; group 0 is the whole match, groups 1 to
    // groupCount() the capturing groups.
    const Span& span(int match, int group) const { return spans_[match * (groupCount_ + 1) + group]; }

    // Adds one match: groupCount() + 1 spans, the whole match first.
    void append(const std::vector<Span>& spans) { spans_.insert(spans_.end(), spans.begin(), spans.end()); }

private:
    int groupCount_;
    std::vector<Span> spans_; // groupCount_ + 1 spans per match
};

} // namespace ql::regex_detail
