#include "QuestionBank.h"

#include "Utf8.h"

#include <nlohmann/json.hpp>

namespace ql::qbank {

namespace {

constexpr const char* schema = R"sql(
CREATE TABLE questions(
    id INTEGER PRIMARY KEY,
    type TEXT NOT NULL,
    subject TEXT NOT NULL,
    question TEXT NOT NULL,
    options TEXT NOT NULL,  -- a JSON array of strings
    answer TEXT NOT NULL,
    explanation TEXT NOT NULL);
CREATE VIRTUAL TABLE question_index USING fts5(
    question, content='questions', content_rowid='id', tokenize='trigram');
)sql";

// The trigram tokenizer cannot look up fewer than three characters; shorter texts are found by
// scanning with LIKE instead.
constexpr std::size_t shortestIndexedSearch = 3;

bool execute(const SqliteDatabase& db, const char* sql, std::string& error)
{
    char* message = nullptr;
    if (sqlite3_exec(db.get(), sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = message ? message : "unknown SQLite error";
    sqlite3_free(message);
    return false;
}

SqliteStatement prepare(const SqliteDatabase& db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v3(db.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    return SqliteStatement(statement);
}

// A full-text query that takes the text literally: one phrase in double quotes, with every
// double quote inside doubled, so that no FTS5 operator in the text is obeyed.
std::string phraseQuery(std::string_view text)
{
    std::string query = "\"";
    for (const char c : text) {
        if (c == '"')
            query += '"';
        query += c;
    }
    query += '"';
    return query;
}

// A LIKE pattern that matches the text anywhere, with its own "%" and "_" taken literally.
std::string containsPattern(std::string_view text)
{
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    pattern += '%';
    return pattern;
}

// Runs a pair of search statements, one counting every match and one listing the best ones.
std::optional<SearchResult> runSearch(SqliteStatement& count, SqliteStatement& rows,
                                      std::string_view pattern, int limit)
{
    SearchResult result;
    count.restart();
    if (!count.bindText(1, pattern) || sqlite3_step(count.get()) != SQLITE_ROW)
        return std::nullopt;
    result.total = count.columnInt(0);
    count.restart();

    rows.restart();
    if (!rows.bindText(1, pattern) || !rows.bindInt(2, limit))
        return std::nullopt;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(rows.get())) == SQLITE_ROW)
        result.hits.push_back({rows.columnInt(0), rows.columnText(1)});
    rows.restart();
    if (step != SQLITE_DONE)
        return std::nullopt;
    return result;
}

// Invalid UTF-8 is replaced rather than thrown about, so that storing never fails on it.
std::string optionsJson(const std::vector<std::string>& options)
{
    return nlohmann::json(options).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::unique_ptr<QuestionBank> QuestionBank::create(const std::vector<Question>& questions,
                                                   std::string& error)
{
    std::unique_ptr<QuestionBank> bank(new QuestionBank());
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(":memory:", &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                           | SQLITE_OPEN_FULLMUTEX,
                                       nullptr);
    bank->db_ = SqliteDatabase(db);
    if (opened != SQLITE_OK) {
        error = "cannot open the in-memory database: " + bank->db_.lastError();
        return nullptr;
    }
    if (!execute(bank->db_, schema, error))
        return nullptr;
    if (std::string failure = bank->prepareStatements(); !failure.empty()) {
        error = std::move(failure);
        return nullptr;
    }
    if (std::string failure = bank->insertAll(questions); !failure.empty()) {
        error = std::move(failure);
        return nullptr;
    }
    bank->size_ = static_cast<std::int64_t>(questions.size());
    return bank;
}

std::string QuestionBank::prepareStatements()
{
    insert_ = prepare(db_, "INSERT INTO questions VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    indexCount_ = prepare(db_, "SELECT count(*) FROM question_index WHERE question_index MATCH ?1");
    indexRows_ = prepare(db_,
                         "SELECT rowid, question FROM question_index WHERE question_index MATCH ?1"
                         " ORDER BY rank, rowid LIMIT ?2");
    likeCount_ = prepare(db_, "SELECT count(*) FROM questions WHERE question LIKE ?1 ESCAPE '\\'");
    // Without a relevance score, a shorter question is the closer match.
    likeRows_ = prepare(db_,
                        "SELECT id, question FROM questions WHERE question LIKE ?1 ESCAPE '\\'"
                        " ORDER BY length(question), id LIMIT ?2");
    byId_ = prepare(db_,
                    "SELECT type, subject, question, options, answer, explanation"
                    " FROM questions WHERE id = ?1");
    for (const auto* statement : {&insert_, &indexCount_, &indexRows_, &likeCount_, &likeRows_, &byId_})
        if (!*statement)
            return "cannot prepare a statement: " + db_.lastError();
    return {};
}

std::string QuestionBank::insertAll(const std::vector<Question>& questions)
{
    std::string error;
    if (!execute(db_, "BEGIN", error))
        return error;
    for (const Question& q : questions) {
        insert_.restart();
        const bool bound = insert_.bindInt(1, q.id) && insert_.bindText(2, q.type)
                           && insert_.bindText(3, q.subject) && insert_.bindText(4, q.question)
                           && insert_.bindText(5, optionsJson(q.options))
                           && insert_.bindText(6, q.answer) && insert_.bindText(7, q.explanation);
        if (!bound || sqlite3_step(insert_.get()) != SQLITE_DONE) {
            error = "cannot store question " + std::to_string(q.id) + ": " + db_.lastError();
            execute(db_, "ROLLBACK", error);
            return error;
        }
    }
    insert_.restart();
    // Building the index once over all rows is far quicker than keeping it up to date per row.
    if (!execute(db_, "INSERT INTO question_index(question_index) VALUES('rebuild')", error)
        || !execute(db_, "COMMIT", error))
        return error;
    return {};
}

std::optional<SearchResult> QuestionBank::search(std::string_view text, int limit) const
{
    if (text.empty())
        return SearchResult{};
    std::lock_guard lock(mutex_);
    if (countCodePoints(text) >= shortestIndexedSearch)
        return runSearch(indexCount_, indexRows_, phraseQuery(text), limit);
    return runSearch(likeCount_, likeRows_, containsPattern(text), limit);
}

Lookup QuestionBank::find(std::int64_t id) const
{
    std::lock_guard lock(mutex_);
    auto& statement = byId_;
    statement.restart();
    if (!statement.bindInt(1, id))
        return {true, std::nullopt};
    const int step = sqlite3_step(statement.get());
    if (step == SQLITE_DONE) {
        statement.restart();
        return {};
    }
    if (step != SQLITE_ROW) {
        statement.restart();
        return {true, std::nullopt};
    }
    Question q;
    q.id = id;
    q.type = statement.columnText(0);
    q.subject = statement.columnText(1);
    q.question = statement.columnText(2);
    const auto options = nlohmann::json::parse(statement.columnText(3), nullptr, false);
    if (options.is_array())
        for (const auto& option : options)
            if (option.is_string())
                q.options.push_back(option.get<std::string>());
    q.answer = statement.columnText(4);
    q.explanation = statement.columnText(5);
    statement.restart();
    return {false, std::move(q)};
}

}  // namespace ql::qbank
