#include "Routes.h"

#include "AnswerPage.h"
#include "RequestTarget.h"
#include "SearchReply.h"
#include "Utf8.h"

#include <charconv>
#include <optional>

namespace ql::qbank {

namespace {

constexpr const char* plainText = "text/plain; charset=utf-8";
constexpr const char* html = "text/html; charset=utf-8";

// The routes are regular expressions to the server.
constexpr const char* searchRoute = R"(/qwg/chazhao\.php)";
constexpr const char* answerRoute = R"(/qwg/indexchaxun\.php)";

// Longest id echoed back on the not-found page.
constexpr std::size_t maxEchoedId = 32;

std::string_view statusText(int status)
{
    switch (status) {
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 500: return "Internal Server Error";
    default: return "Error";
    }
}

std::optional<std::int64_t> parseId(std::string_view text)
{
    std::int64_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || id <= 0)
        return std::nullopt;
    return id;
}

void serveSearch(const httplib::Request& request, httplib::Response& response,
                 const QuestionBank& bank, int rowLimit)
{
    const QuestionText question = questionFromTarget(request.target);
    if (!question.error.empty()) {
        response.status = 400;
        response.set_content("400 Bad Request: " + question.error, plainText);
        return;
    }
    const auto result = bank.search(question.text, rowLimit);
    if (!result) {
        response.status = 500;
        response.set_content("500 Internal Server Error: the search failed", plainText);
        return;
    }
    response.set_content(formatSearchReply(*result, question.text), plainText);
}

void serveAnswer(const httplib::Request& request, httplib::Response& response,
                 const QuestionBank& bank)
{
    const std::string requested = percentDecode(rawParameter(request.target, "id"));
    const auto id = parseId(requested);
    const Lookup lookup = id ? bank.find(*id) : Lookup{};
    if (lookup.failed) {
        response.status = 500;
        response.set_content("500 Internal Server Error: the lookup failed", plainText);
        return;
    }
    if (!lookup.question) {
        const bool echo = requested.size() <= maxEchoedId && isValidUtf8(requested);
        response.status = 404;
        response.set_content(renderNotFoundPage(echo ? requested : std::string()), html);
        return;
    }
    response.set_content(renderAnswerPage(*lookup.question), html);
}

}  // namespace

void installRoutes(httplib::Server& server, const QuestionBank& bank, int rowLimit)
{
    server.Get(searchRoute, [&bank, rowLimit](const httplib::Request& request,
                                             httplib::Response& response) {
        serveSearch(request, response, bank, rowLimit);
    });
    server.Get(answerRoute, [&bank](const httplib::Request& request, httplib::Response& response) {
        serveAnswer(request, response, bank);
    });
    // Errors found before a handler runs (unknown path, overlong request line, bad request)
    // get a short text that says what happened instead of an empty body.
    server.set_error_handler(httplib::Server::HandlerWithResponse(
        [](const httplib::Request&, httplib::Response& response) {
            if (!response.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            response.set_content(std::to_string(response.status) + " "
                                     + std::string(statusText(response.status)),
                                 plainText);
            return httplib::Server::HandlerResponse::Handled;
        }));
}

}  // namespace ql::qbank
