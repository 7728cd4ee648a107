#pragma once
// The one owner of each SQLite handle: a database connection and a prepared statement.

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <utility>

namespace ql::qbank {

class SqliteDatabase {
public:
    SqliteDatabase() = default;
    explicit SqliteDatabase(sqlite3* db) : db_(db) {}
    ~SqliteDatabase() { sqlite3_close(db_); }
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    SqliteDatabase(SqliteDatabase&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}
    SqliteDatabase& operator=(SqliteDatabase&& other) noexcept
    {
        std::swap(db_, other.db_);
        return *this;
    }

    sqlite3* get() const { return db_; }
    std::string lastError() const { return db_ ? sqlite3_errmsg(db_) : "no database"; }

private:
    sqlite3* db_ = nullptr;
};

class SqliteStatement {
public:
    SqliteStatement() = default;
    explicit SqliteStatement(sqlite3_stmt* statement) : statement_(statement) {}
    ~SqliteStatement() { sqlite3_finalize(statement_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    SqliteStatement(SqliteStatement&& other) noexcept
        : statement_(std::exchange(other.statement_, nullptr))
    {
    }
    SqliteStatement& operator=(SqliteStatement&& other) noexcept
    {
        std::swap(statement_, other.statement_);
        return *this;
    }

    sqlite3_stmt* get() const { return statement_; }
    explicit operator bool() const { return statement_ != nullptr; }

    // Makes the statement ready for a new run: every earlier result and binding dropped.
    void restart()
    {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    bool bindText(int index, std::string_view text)
    {
        return sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    bool bindInt(int index, sqlite3_int64 value)
    {
        return sqlite3_bind_int64(statement_, index, value) == SQLITE_OK;
    }
    std::string columnText(int column) const
    {
        const auto* bytes = sqlite3_column_text(statement_, column);
        return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                                   static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                     : std::string();
    }
    sqlite3_int64 columnInt(int column) const { return sqlite3_column_int64(statement_, column); }

private:
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace ql::qbank
