#include "AnswerPage.h"

#include <utility>

namespace ql::qbank {

namespace {

// No external resources: the view may have no way out but to this server.
constexpr std::string_view pageHead = R"(<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>)";

constexpr std::string_view pageStyle = R"(</title>
<style>
body{margin:6px 8px;font:13px/1.45 "Microsoft YaHei","Noto Sans CJK SC",sans-serif;color:#222}
h1{font-size:13px;margin:0 0 4px;color:#666;font-weight:normal}
.q{font-weight:bold;margin:0 0 4px}
ul{margin:0 0 6px;padding-left:18px}
li{margin:0}
.a{margin:0 0 4px;color:#0a5c0a}
.a b{color:#000}
.e{margin:0;color:#444}
.nf{color:#a00}
</style></head><body>
)";

constexpr std::string_view pageEnd = "</body></html>\n";

std::string_view typeLabel(std::string_view type)
{
    static constexpr std::pair<std::string_view, std::string_view> labels[] = {
        {"single", "单选题"},
        {"multiple", "多选题"},
        {"truefalse", "判断题"},
        {"fill", "填空题"},
    };
    for (const auto& [key, label] : labels)
        if (key == type)
            return label;
    return type;
}

std::string page(std::string_view title, std::string_view body)
{
    std::string html;
    html += pageHead;
    html += escapeHtml(title);
    html += pageStyle;
    html += body;
    html += pageEnd;
    return html;
}

}  // namespace

std::string escapeHtml(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string renderAnswerPage(const Question& q)
{
    std::string body;
    body += "<h1>" + escapeHtml(q.subject) + " · " + escapeHtml(typeLabel(q.type)) + " · 第 "
            + std::to_string(q.id) + " 题</h1>\n";
    body += "<p class=\"q\">" + escapeHtml(q.question) + "</p>\n";
    if (!q.options.empty()) {
        body += "<ul>";
        for (const std::string& option : q.options)
            body += "<li>" + escapeHtml(option) + "</li>";
        body += "</ul>\n";
    }
    body += "<p class=\"a\"><b>答案：</b>" + escapeHtml(q.answer) + "</p>\n";
    if (!q.explanation.empty())
        body += "<p class=\"e\"><b>解析：</b>" + escapeHtml(q.explanation) + "</p>\n";
    return page("答案 - 第 " + std::to_string(q.id) + " 题", body);
}

std::string renderNotFoundPage(std::string_view requestedId)
{
    std::string body = "<p class=\"nf\">没有找到这道题";
    if (!requestedId.empty())
        body += "（编号 " + escapeHtml(requestedId) + "）";
    body += "。</p>\n<p>Question not found.</p>\n";
    return page("没有找到这道题", body);
}

}  // namespace ql::qbank
