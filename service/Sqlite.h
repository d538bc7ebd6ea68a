// A thin owner of SQLite's C handles: a connection and its prepared statements, closed and
// finalized on destruction. Errors are returned as SQLite's result codes; `message()` words the
// last one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

struct sqlite3;
struct sqlite3_stmt;

namespace orvane::sqlite {

class Statement;

class Database {
  public:
    Database() = default;
    ~Database();
    Database(Database&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens (creating when `create`) the file; the result code, SQLITE_OK on success.
    int open(const std::string& path, bool create);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Runs one or more statements without results.
    int exec(const char* sql);
    // Waits this long for another connection's lock before giving up with SQLITE_BUSY.
    void busyTimeout(int milliseconds);
    // The first column of the first row of `sql`, as an integer or text.
    std::optional<std::int64_t> integer(const char* sql);
    std::optional<std::string> text(const char* sql);

    std::string message() const;
    sqlite3* handle() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

class Statement {
  public:
    Statement(Database& db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int prepared() const { return rc_; }
    // Binds the 1-based parameter `i`.
    Statement& bind(int i, std::int64_t v);
    Statement& bind(int i, double v);
    Statement& bind(int i, std::string_view v);
    Statement& bind(int i, std::nullopt_t);
    template <typename T>
    Statement& bind(int i, const std::optional<T>& v) {
        return v ? bind(i, *v) : bind(i, std::nullopt);
    }
    // SQLITE_ROW while there are rows, SQLITE_DONE at the end, else an error.
    int step();
    void reset();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    template <typename T>
    std::optional<T> optional(int column) const {
        if (isNull(column)) return std::nullopt;
        if constexpr (std::is_floating_point_v<T>)
            return real(column);
        else
            return integer(column);
    }

  private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = 0;
};

}  // namespace orvane::sqlite
