#include "tests/scenarios/firm_lists_edition.h"

#include "db/database.h"
#include "db/database_program.h"
#include "platform/testing/windows.h"
#include "shell/button_bar.h"
#include "win32/controls.h"

#include <cstdio>

namespace dernolo_test {

namespace {

std::string numbered(const char16_t* stem, int n, int digits)
{
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, n);
    return cp1251(stem) + number;
}

const char helpText[] =
    "<html><body><p>top</p><div style=\"height:600px\"></div><a name=\"t31\"></a><p>t31</p>"
    "<div style=\"height:600px\"></div></body></html>";

EditionChunk help()
{
    EditionChunk chunk;
    chunk.kind = ChunkKind::help;
    chunk.bytes = helpText;
    return chunk;
}

} // namespace

AddressEdition addressEdition()
{
    AddressEdition a;
    Edition& e = a.edition;
    e.title = cp1251(u"Справочник\r\nСанкт-Петербург");
    e.cityLetter = 'P';
    e.chunks.push_back(help());
    EditionStreet nevsky;
    nevsky.key = cp1251(u"НЕВ");
    nevsky.name = cp1251(u"Невский пр.");
    EditionStreet sadovaya;
    sadovaya.key = cp1251(u"САД");
    sadovaya.name = cp1251(u"Садовая ул.");
    e.streets = {nevsky, sadovaya};
    auto firm = [&](std::u16string_view name, uint32_t street, uint32_t house, std::u16string_view suffix,
                    std::u16string_view line) {
        EditionFirm f;
        f.name = cp1251(name);
        f.street = street;
        f.house = house;
        f.houseSuffix = cp1251(suffix);
        e.firms.push_back(f);
        if (street != noStreet)
            e.streets[street].firms.push_back(static_cast<uint32_t>(e.firms.size() - 1));
        a.lines.emplace_back(line);
    };
    // The list keeps the rubric's order, not the firm table's.
    firm(u"Отдел полиции № 5 & К", 0, 12, u"", u"Отдел полиции № 5 & К, Невский пр., 12");
    firm(u"Дежурная часть", 1, 3, u"А", u"Дежурная часть, Садовая ул., 3/А");
    firm(u"Пост на площади", 0, 0, u"", u"Пост на площади, Невский пр.");
    firm(u"Городской участок", 1, 10000, u"Б", u"Городской участок, Садовая ул.");
    // The longest line, wider than the list in the handheld's face.
    firm(u"Мобильный патруль дорожно-постовой службы", noStreet, 7, u"", u"Мобильный патруль дорожно-постовой службы");
    firm(u"Участковый пункт", 0, 9999, u"", u"Участковый пункт, Невский пр., 9999");

    EditionRubric services;
    services.code = "01";
    services.title = cp1251(u"Службы города");
    services.hasFirmList = false;
    EditionRubric police;
    police.code = "0101";
    police.title = cp1251(u" Милиция и полиция");
    police.firms = {0, 1, 2, 3, 4, 5};
    EditionRubric rescue;
    rescue.code = "0102";
    rescue.title = cp1251(u"Служба спасения");
    e.rubrics = {services, police, rescue};

    const std::vector<uint32_t> refs = firmRefsOf(e);
    for (uint32_t f : police.firms)
        a.firmRefs.push_back(refs[f]);
    return a;
}

Edition letterEdition(int fillers, bool overflow)
{
    Edition e;
    e.title = cp1251(u"Справочник\r\nСанкт-Петербург");
    e.cityLetter = 'P';
    e.chunks.push_back(help());
    auto firm = [&](const std::string& name) {
        EditionFirm f;
        f.name = name;
        e.firms.push_back(f);
    };
    firm(cp1251(u"ААА"));
    firm(cp1251(u"АББ"));
    firm(cp1251(u"АВВ"));
    for (int i = 1; i <= fillers; ++i)
        firm(numbered(u"АВВ ", i, 3));
    if (overflow)
        for (int i = 1; i <= 10050; ++i)
            firm(numbered(u"ЖЖЖ ", i, 5));
    else
        for (int i = 1; i <= 300; ++i)
            firm(numbered(u"БББ ", i, 3));
    for (int i = 1; i <= 300; ++i)
        firm(numbered(u"ДДД ", i, 3));
    return e;
}

std::vector<uint32_t> firmRefsOf(const Edition& edition)
{
    DatabaseImage image;
    std::string error;
    if (writeEdition(edition, image, error) != writeOk)
        return {};
    return image.firmRefs;
}

HWND frontList(int controlId)
{
    HWND front = GetActiveWindow();
    return front != nullptr ? GetDlgItem(front, controlId) : nullptr;
}

std::vector<driver::ListLineDump> shownLines(int controlId)
{
    const driver::ScreenDump dump = driver::dumpWindows();
    const driver::WindowDump* list = driver::findDumpedControl(dump, controlId);
    if (list == nullptr || !list->lines) {
        driver::fail("no list " + std::to_string(controlId) + " on the screen");
        return {};
    }
    return *list->lines;
}

void tapLine(int controlId, int line)
{
    HWND list = frontList(controlId);
    RECT r = {};
    if (list == nullptr || SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&r)) ==
                               LB_ERR) {
        driver::fail("no line " + std::to_string(line) + " in list " + std::to_string(controlId));
        return;
    }
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    driver::tap(p.x, p.y);
}

std::u16string firmReadLast()
{
    const DirectoryDatabase* db = databaseProgram.current;
    if (db == nullptr || db->firm.name == nullptr)
        return {};
    WCHAR wide[128] = {};
    MultiByteToWideChar(CP_ACP, 0, db->firm.name, -1, wide, 127);
    return wide;
}

RECT controlRect(int controlId)
{
    RECT r = {};
    if (HWND control = frontList(controlId); control != nullptr)
        GetWindowRect(control, &r);
    return r;
}

} // namespace dernolo_test
