#include "bench/search/fragment_baselines.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "win32.h"

namespace {

void check(int code, sqlite3* db, const char* what) {
    if (code == SQLITE_OK || code == SQLITE_DONE || code == SQLITE_ROW) return;
    std::fprintf(stderr, "sqlite: %s: %s\n", what, sqlite3_errmsg(db));
    std::abort();
}

}  // namespace

std::string utf8FromCp1251(const std::string& text) {
    std::u16string wide(text.size(), u'\0');
    const int n = MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                      static_cast<int>(wide.size()));
    std::string out(3 * text.size() + 1, '\0');
    const int m = n > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), static_cast<int>(out.size()),
                                              nullptr, nullptr)
                        : 0;
    out.resize(m > 0 ? static_cast<size_t>(m) : 0);
    return out;
}

SqliteNames::SqliteNames(const std::vector<std::string>& keys) {
    check(sqlite3_open(":memory:", &db_), db_, "open");
    check(sqlite3_exec(db_, "CREATE TABLE names(name TEXT NOT NULL)", nullptr, nullptr, nullptr), db_, "create");
    check(sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr), db_, "begin");
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db_, "INSERT INTO names(name) VALUES (?1)", -1, &insert, nullptr), db_, "prepare");
    for (const std::string& key : keys) {
        const std::string text = utf8FromCp1251(key);
        sqlite3_bind_text(insert, 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        check(sqlite3_step(insert), db_, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr), db_, "commit");
    check(sqlite3_prepare_v2(db_, "SELECT count(*) FROM names WHERE name LIKE ?1", -1, &query_, nullptr), db_,
          "prepare");
}

SqliteNames::~SqliteNames() {
    sqlite3_finalize(query_);
    sqlite3_close(db_);
}

uint32_t SqliteNames::countContaining(const std::string& key) {
    const std::string pattern = "%" + utf8FromCp1251(key) + "%";
    sqlite3_bind_text(query_, 1, pattern.data(), static_cast<int>(pattern.size()), SQLITE_TRANSIENT);
    check(sqlite3_step(query_), db_, "query");
    const auto count = static_cast<uint32_t>(sqlite3_column_int64(query_, 0));
    sqlite3_reset(query_);
    return count;
}

std::string joinNames(const std::vector<std::string>& keys) {
    std::string joined;
    size_t total = 0;
    for (const std::string& key : keys) total += key.size() + 1;
    joined.reserve(total);
    for (const std::string& key : keys) {
        joined += key;
        joined += '\n';
    }
    return joined;
}

uint32_t countWithMemmem(const std::string& joined, const std::string& key) {
    uint32_t count = 0;
    const char* at = joined.data();
    const char* end = at + joined.size();
    while (at < end) {
        const void* hit = memmem(at, static_cast<size_t>(end - at), key.data(), key.size());
        if (!hit) break;
        ++count;
        // One count per name: go on after the end of the name that holds the hit.
        const void* lineEnd = std::memchr(hit, '\n', static_cast<size_t>(end - static_cast<const char*>(hit)));
        at = lineEnd ? static_cast<const char*>(lineEnd) + 1 : end;
    }
    return count;
}
