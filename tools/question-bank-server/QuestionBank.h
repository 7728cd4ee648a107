#pragma once
// The question bank in an in-memory SQLite database: the questions, and a trigram full-text
// index over their texts so that any substring of three or more characters, Chinese included,
// is found through the index.

#include "Question.h"
#include "Sqlite.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ql::qbank {

struct SearchHit {
    std::int64_t id = 0;
    std::string question;
};

struct SearchResult {
    std::vector<SearchHit> hits;  // best first, at most the limit asked for
    std::int64_t total = 0;       // every question that matches
};

struct Lookup {
    bool failed = false;              // the database could not answer
    std::optional<Question> question;  // empty when there is no such question
};

class QuestionBank {
public:
    // A bank holding the questions, or null with the reason in error.
    static std::unique_ptr<QuestionBank> create(const std::vector<Question>& questions,
                                                std::string& error);

    // The questions whose text holds the search text, ignoring the case of ASCII letters.
    // An empty search text matches nothing. Empty when the database could not answer.
    std::optional<SearchResult> search(std::string_view text, int limit) const;

    Lookup find(std::int64_t id) const;

    std::int64_t size() const { return size_; }

private:
    QuestionBank() = default;
    std::string prepareStatements();
    std::string insertAll(const std::vector<Question>& questions);

    SqliteDatabase db_;
    SqliteStatement insert_;
    // Running a query changes a statement but not the bank.
    mutable SqliteStatement indexCount_, indexRows_;
    mutable SqliteStatement likeCount_, likeRows_;
    mutable SqliteStatement byId_;
    std::int64_t size_ = 0;
    // The statements are shared, so one request at a time runs them.
    mutable std::mutex mutex_;
};

}  // namespace ql::qbank
