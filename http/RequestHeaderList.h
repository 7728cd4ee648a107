#pragma once
// The request's own header lines, kept in order and keyed by name without
// regard to ASCII letter case, as WinHttpAddRequestHeaders(ADD | REPLACE)
// keeps them.

#include <string>
#include <string_view>
#include <vector>

namespace ql::http {

struct RequestHeader {
    std::string name;
    std::string value;
};

class RequestHeaderList {
public:
    // Splits the block at every run of CR and LF; each line is "name: value"
    // with the value's leading blanks skipped. A line replaces an earlier
    // header of the same name, and an empty value removes it. A first line
    // without ':' fails and leaves the list as it was; a later one is skipped.
    bool addOrReplace(std::string_view block);

    const std::string* find(std::string_view name) const;
    const std::vector<RequestHeader>& entries() const { return entries_; }

private:
    void replace(std::string_view name, std::string_view value);

    std::vector<RequestHeader> entries_;
};

} // namespace ql::http
