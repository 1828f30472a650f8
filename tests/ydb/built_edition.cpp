#include "tests/ydb/built_edition.h"

#include "tools/ydb/build/edition_from_source.h"

BuiltEdition::BuiltEdition() {
    source.write("edition.json", R"({"title": ["Справочник", "Санкт-Петербург"], "cityLetter": "П",
 "resources": [{"help": "help.html"}]})");
    source.write("help.html", "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                              "</head><body><a name=\"t2\">Карточка</a></body></html>");
    source.write("rubrics.json", R"([
 {"code": "10", "title": "Авто", "flags": 2},
 {"code": "1010", "title": "Автосервисы"},
 {"code": "101010", "title": "Шиномонтаж", "flags": 1},
 {"code": "1011", "title": "Автосалоны"},
 {"code": "20", "title": "Дом", "flags": 2},
 {"code": "2010", "title": "Окна"}
])");
    source.write("streets.jsonl", "{\"key\": \"НЕВ\", \"name\": \"Невский пр.\"}\n"
                                  "{\"key\": \"САД\", \"name\": \"Садовая ул.\"}\n"
                                  "{\"key\": \"ЛИТ\", \"name\": \"Литейный пр.\"}\n");
    source.write("firms.jsonl",
                 "{\"name\": \"«Ёлка» & Ко\", \"street\": \"Невский пр.\", \"house\": 12, \"houseSuffix\": \"2\", "
                 "\"phone\": \"325-12-12 ф\", \"phones\": [\"325-12-12 ф\", \"(812) 111-22-33\"], \"namePrefix\": \"ООО\", "
                 "\"rubrics\": [\"1010\", \"2010\"], \"hours\": \"пн-пт 9-18\", \"comment\": \"|10| Ремонт |$Запись по телефону|\"}\n"
                 "{\"name\": \"Альфа\", \"street\": \"Садовая ул.\", \"rubrics\": [\"1010\"], \"web\": \"www.alfa.ru\", "
                 "\"email\": \"a@alfa.ru, b@alfa.ru\"}\n"
                 "{\"name\": \"Альфа\", \"street\": \"Литейный пр.\", \"house\": 5, \"rubrics\": [\"101010\"], "
                 "\"phone\": \"8-921-123-45-67\"}\n"
                 "{\"name\": \"Бета сервис\", \"street\": \"Невский пр.\", \"rubrics\": [\"1011\", \"1010\"], \"phone\": \"112\"}\n");
    path = (source.root / "out" / "edition.ydb").string();
}

bool BuiltEdition::build(std::string& error) {
    SourceEdition edition;
    IssueList issues;
    if (!source.read(edition, issues)) {
        error = formatIssue(issues.items.front());
        return false;
    }
    Edition built = editionFromSource(edition);
    return writeEdition(built, image, error) == writeOk && save();
}

bool BuiltEdition::save() {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::string error;
    return saveImage(image, path, error) == writeOk;
}
