#pragma once
// A lookup wired to a view that records what it is shown and to an engine
// that answers from a queue of canned replies, so searches run without a
// window and without a network.

#include "lookup/QuestionLookup.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ql::lookup::testing_support {

struct RecordingView : LookupView {
    Text question;
    std::array<Text, 6> boxes;
    std::vector<Text> openedAddresses;

    Text questionText() const override { return question; }
    void showResult(int row, const Text& text) override { boxes.at(row - 1) = text; }
    void openAddress(const Text& address) override { openedAddresses.push_back(address); }
};

// What the fake engine does for one request.
struct CannedReply {
    std::optional<std::string> body;  // nullopt: the request fails before any response
    Text result;                      // what the engine returns as its text
    std::function<void()> whilePumping; // runs inside the request, like pumped window events
};

inline CannedReply replyWithBody(std::string body) { return {std::move(body), Text(body), {}}; }
inline CannedReply failedRequest() { return {std::nullopt, Text(), {}}; }

class LookupFixture : public ::testing::Test {
protected:
    static constexpr const char* kHost = "qb.example:8080";

    RecordingView view;
    std::deque<CannedReply> replies;
    std::vector<Text> requestedUrls;
    std::vector<http::HttpRequestArgs> requestArgs;
    QuestionLookup lookup{view, kHost, [this](const Text& url, const http::HttpRequestArgs& args) {
                              return answer(url, args);
                          }};

    void search(const Text& question, CannedReply reply)
    {
        view.question = question;
        replies.push_back(std::move(reply));
        lookup.onSearchClicked();
    }

    // The ids and texts of all six rows, for comparing whole states.
    std::array<Text, 6> ids() const
    {
        std::array<Text, 6> all;
        for (int k = 1; k <= 6; ++k)
            all[k - 1] = lookup.questionIds().slot(k);
        return all;
    }

private:
    Text answer(const Text& url, const http::HttpRequestArgs& args)
    {
        requestedUrls.push_back(url);
        requestArgs.push_back(args);
        if (replies.empty()) {
            ADD_FAILURE() << "unexpected request " << url.str();
            return {};
        }
        CannedReply reply = std::move(replies.front());
        replies.pop_front();
        if (reply.whilePumping)
            reply.whilePumping();
        if (reply.body && args.responseBody)
            *args.responseBody = Bytes(*reply.body);
        return reply.result;
    }
};

} // namespace ql::lookup::testing_support
