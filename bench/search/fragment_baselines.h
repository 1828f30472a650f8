// The same fragment search as the directory's "name contains" pass, done two other ways over the
// same names (compacted and upper-cased, as the search compares them): SQLite's LIKE over an
// in-memory table, and memmem over all names laid end to end, the physical limit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class SqliteNames {
public:
    // One row per name; the names are code page 1251 and stored as UTF-8 text.
    explicit SqliteNames(const std::vector<std::string>& keys);
    ~SqliteNames();
    SqliteNames(const SqliteNames&) = delete;
    SqliteNames& operator=(const SqliteNames&) = delete;
    // Rows whose name is LIKE '%key%' (key: code page 1251).
    uint32_t countContaining(const std::string& key);

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* query_ = nullptr;
};

// All names end to end, each followed by a newline (a byte no key holds).
std::string joinNames(const std::vector<std::string>& keys);
// Names of the joined text that contain `key`.
uint32_t countWithMemmem(const std::string& joined, const std::string& key);

// Code page 1251 to UTF-8.
std::string utf8FromCp1251(const std::string& text);
