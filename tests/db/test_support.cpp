#include "tests/db/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "db/format.h"
#include "tools/writer/tiny_bitmap.h"

std::string cp1251(std::u16string_view text) {
    if (text.empty()) return {};
    std::string out(text.size() * 2, '\0');
    const int n = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

std::u16string wide(const WCHAR* text) { return text ? std::u16string(text) : std::u16string(); }

std::u16string fromCp1251(const std::string& text) {
    if (text.empty()) return {};
    std::u16string out(text.size(), u'\0');
    const int n = MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

std::string bytes(const char* text) { return text ? std::string(text) : std::string(); }

void DeviceTest::SetUp() {
    char pattern[] = "/tmp/db-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    ASSERT_EQ(emu::setDeviceRoot(root), 0);
    emu::clearFaults();
    previousHandler = emu::setMessageBoxHandler([this](HWND, std::u16string_view text, std::u16string_view caption,
                                                       UINT style) {
        boxes.push_back({std::u16string(text), std::u16string(caption), style});
        return IDOK;
    });
    setFreeMemory(64u << 20);
    databaseProgram.choices = DatabaseChoices{};
    databaseProgram.current = nullptr;
}

void DeviceTest::TearDown() {
    emu::clearFaults();
    emu::setMessageBoxHandler(previousHandler);
    emu::useHostMemory();
    std::filesystem::remove_all(root);
}

void DeviceTest::setFreeMemory(uint64_t bytes) {
    emu::setAvailablePhysicalMemory(bytes);
    takeMemoryReading();
}

void DeviceTest::makeFolder(const std::string& devicePath) {
    std::string host = devicePath;
    for (char& c : host)
        if (c == '\\') c = '/';
    std::filesystem::create_directories(root + "/" + host);
}

void DeviceTest::installBytes(const std::string& bytes, const std::string& devicePath) {
    std::string host = devicePath;
    for (char& c : host)
        if (c == '\\') c = '/';
    const std::filesystem::path path = root + "/" + host;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::u16string DeviceTest::install(const DatabaseImage& image, const std::string& devicePath) {
    installBytes(std::string(image.bytes.begin(), image.bytes.end()), devicePath);
    return emu::fromUtf8("\\" + devicePath);
}

std::u16string DeviceTest::installEdition(const Edition& edition, const std::string& devicePath) {
    DatabaseImage image;
    std::string error;
    EXPECT_EQ(writeEdition(edition, image, error), writeOk) << error;
    return install(image, devicePath);
}

size_t DeviceTest::boxesWith(std::u16string_view caption) const {
    size_t n = 0;
    for (const ShownBox& box : boxes)
        if (box.caption == caption) ++n;
    return n;
}

OpenedDatabase::OpenedDatabase(const std::u16string& path) : db(createDatabase()) {
    openDatabase(*db, path.c_str());
}

Edition sampleEdition() {
    Edition e;
    e.title = cp1251(u"Справочник\r\nСанкт-Петербург");
    e.cityLetter = static_cast<uint8_t>(cp1251(u"С")[0]);
    e.streets = {{cp1251(u"НЕВ"), cp1251(u"Невский пр."), {0, 2}}, {cp1251(u"САД"), cp1251(u"Садовая ул."), {1}}};
    EditionFirm a;
    a.name = cp1251(u"ООО «Ромашка»");
    a.street = 0;
    a.house = 12;
    a.houseSuffix = "2";
    a.web = "www.romashka.ru";
    a.email = "info@romashka.ru";
    a.phone = "3123456";
    a.phones = "3123456,3123457";
    a.namePrefix = cp1251(u"ООО");
    a.rubricCodes = "|0101|0102|";
    a.hours = cp1251(u"пн-пт 9-18");
    a.comment = cp1251(u"Цветы и подарки");
    EditionFirm b;
    b.name = cp1251(u"Аптека №1");
    b.street = 1;
    b.house = 0;
    b.phone = "3100000";
    b.phones = "3100000";
    b.rubricCodes = "|0102|";
    EditionFirm c;
    c.name = cp1251(u"Ёлка-2");
    c.street = 0;
    c.house = 10000;
    c.comment = cp1251(u"Новогодние товары");
    EditionFirm d;
    d.name = "Zeta";
    e.firms = {a, b, c, d};
    e.rubrics = {{"01", cp1251(u"Торговля"), 3, false, {}},
                 {"0101", cp1251(u"Цветы"), 3, true, {0}},
                 {"0102", cp1251(u"Разное"), 2, true, {1, 0, 2}}};
    e.phones = {{3123457, 0}, {3100000, 1}, {3123456, 0}};
    e.chunks = {{ChunkKind::picture, tinyBitmap()}, {ChunkKind::help, "<html>help</html>"}};
    return e;
}

Edition generatedEdition(uint32_t count, uint32_t streets) {
    Edition e;
    e.title = "Generated";
    for (uint32_t s = 0; s < streets; ++s)
        e.streets.push_back({"S" + std::to_string(s % 100), "Street " + std::to_string(s), {}});
    for (uint32_t i = 0; i < count; ++i) {
        EditionFirm firm;
        char name[32];
        std::snprintf(name, sizeof name, "Firm %07u", (i * 7919u) % count);
        firm.name = name;
        firm.street = streets ? i % streets : noStreet;
        if (streets) e.streets[i % streets].firms.push_back(i);
        firm.house = i % 200 + 1;
        firm.web = "www.firm" + std::to_string(i) + ".ru";
        firm.phone = std::to_string(3000000 + i);
        firm.phones = firm.phone;
        firm.hours = "9-18";
        firm.comment = "Comment of firm " + std::to_string(i);
        e.firms.push_back(firm);
        e.phones.push_back({3000000 + i, i});
    }
    return e;
}
