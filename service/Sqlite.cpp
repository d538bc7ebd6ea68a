#include "service/Sqlite.h"

#include <sqlite3.h>

namespace orvane::sqlite {

Database::~Database() {
    close();
}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        db_ = other.db_;
        other.db_ = nullptr;
    }
    return *this;
}

int Database::open(const std::string& path, bool create) {
    close();
    const int flags =
        SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    // Even when opening fails the handle is allocated: it holds the message until closed.
    return rc;
}

void Database::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

int Database::exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

void Database::busyTimeout(int milliseconds) {
    sqlite3_busy_timeout(db_, milliseconds);
}

std::optional<std::int64_t> Database::integer(const char* sql) {
    Statement s(*this, sql);
    if (s.step() != SQLITE_ROW || s.isNull(0)) return std::nullopt;
    return s.integer(0);
}

std::optional<std::string> Database::text(const char* sql) {
    Statement s(*this, sql);
    if (s.step() != SQLITE_ROW || s.isNull(0)) return std::nullopt;
    return s.text(0);
}

std::string Database::message() const {
    return db_ ? sqlite3_errmsg(db_) : "out of memory";
}

Statement::Statement(Database& db, std::string_view sql) {
    rc_ =
        sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int i, std::int64_t v) {
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
}

Statement& Statement::bind(int i, double v) {
    sqlite3_bind_double(stmt_, i, v);
    return *this;
}

Statement& Statement::bind(int i, std::string_view v) {
    sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bind(int i, std::nullopt_t) {
    sqlite3_bind_null(stmt_, i);
    return *this;
}

int Statement::step() {
    if (rc_ != SQLITE_OK) return rc_;
    return sqlite3_step(stmt_);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

std::string Statement::text(int column) const {
    const auto* p = sqlite3_column_text(stmt_, column);
    return p ? std::string(reinterpret_cast<const char*>(p),
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string();
}

}  // namespace orvane::sqlite
