// A source edition written into a fresh temporary folder, so each test states only what it changes.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "tools/ydb/source/issues.h"
#include "tools/ydb/source/source_reader.h"

struct SourceFolder {
    std::filesystem::path root;

    SourceFolder() {
        root = std::filesystem::temp_directory_path() /
               ("ydb-src-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        write("edition.json", R"({"title": ["Справочник", "Санкт-Петербург"], "cityLetter": "П", "resources": []})");
        write("rubrics.json", "[\n {\"code\": \"10\", \"title\": \"Авто\", \"flags\": 2},\n"
                              " {\"code\": \"1010\", \"title\": \"Автосервисы\"}\n]\n");
        write("streets.jsonl", "{\"key\": \"НЕВ\", \"name\": \"Невский пр.\"}\n");
        write("firms.jsonl", firm("\"name\": \"Альфа\"") + "\n");
    }
    ~SourceFolder() { std::filesystem::remove_all(root); }

    static std::string firm(const std::string& extra) {
        return "{\"street\": \"Невский пр.\", \"rubrics\": [\"1010\"], " + extra + "}";
    }
    void write(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((root / name).parent_path());
        std::ofstream(root / name, std::ios::binary) << text;
    }
    bool read(SourceEdition& edition, IssueList& issues) const {
        return readSourceEdition(root.string(), edition, issues);
    }
};
