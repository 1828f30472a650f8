// What the database tests share: a fresh device folder per test, an emulated memory figure, the
// message boxes the code under test shows, and editions to write.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "tools/writer/edition_writer.h"

struct ShownBox {
    std::u16string text;
    std::u16string caption;
    UINT style;
};

// Code page 1251 bytes of a UTF-16 literal, for edition texts.
std::string cp1251(std::u16string_view text);
// UTF-16 of a converted slot field, up to its 0.
std::u16string wide(const WCHAR* text);
// UTF-16 of code page 1251 bytes (edition texts), for comparing with converted slot fields.
std::u16string fromCp1251(const std::string& text);
// An owned or window text of a slot as bytes; "" for none.
std::string bytes(const char* text);

constexpr char16_t damagedText[] = u"Файл базы данных поврежден !?";
constexpr char16_t damagedCaption[] = u"ОШИБКА";
constexpr char16_t sorryCaption[] = u"ИЗВИНИТЕ";

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets the emulated free memory and takes the program's reading of it: the window is a quarter.
    void setFreeMemory(uint64_t bytes);
    // Writes the image as a device file (folders are made); returns its device path.
    std::u16string install(const DatabaseImage& image, const std::string& devicePath);
    void installBytes(const std::string& bytes, const std::string& devicePath);
    // Writes the edition and installs it.
    std::u16string installEdition(const Edition& edition, const std::string& devicePath);
    void makeFolder(const std::string& devicePath);

    size_t boxesWith(std::u16string_view caption) const;
    size_t damagedBoxes() const { return boxesWith(damagedCaption); }

    std::string root;
    std::vector<ShownBox> boxes;
    emu::MessageBoxHandler previousHandler;
};

// A database opened for a test; closed and freed at the end of its scope.
struct OpenedDatabase {
    DirectoryDatabase* db;
    explicit OpenedDatabase(const std::u16string& path);
    ~OpenedDatabase() { destroyDatabase(db); }
    OpenedDatabase(const OpenedDatabase&) = delete;
    OpenedDatabase& operator=(const OpenedDatabase&) = delete;
    DirectoryDatabase& operator*() const { return *db; }
    DirectoryDatabase* operator->() const { return db; }
};

// A small edition with every record kind: three rubrics (one a pure heading), two streets, four
// firms with all fields, telephones, a picture and a help page.
Edition sampleEdition();
// `count` firms with generated names and details, on `streets` streets.
Edition generatedEdition(uint32_t count, uint32_t streets);
