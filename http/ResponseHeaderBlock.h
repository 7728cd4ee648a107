#pragma once
// The header block of the final response of one transfer, rebuilt from the
// lines curl hands to its header callback in the form of
// WINHTTP_QUERY_RAW_HEADERS_CRLF: the status line, "Name: value" lines, each
// ended by CRLF, and a closing empty line. Interim 1xx responses are
// skipped; a new status line starts the block afresh.

#include <string>
#include <string_view>
#include <vector>

namespace ql::http {

class ResponseHeaderBlock {
public:
    void addLine(std::string_view rawLine);

    bool complete() const { return complete_; }
    int statusCode() const { return statusCode_; }
    const std::string& text() const { return text_; }
    // Values of the header lines with this name (ASCII case ignored), in order.
    std::vector<std::string> values(std::string_view name) const;

private:
    struct Field {
        std::string name;
        std::string value;
    };

    std::string text_;
    std::vector<Field> fields_;
    int statusCode_ = 0;
    bool interim_ = false;
    bool complete_ = false;
};

} // namespace ql::http
