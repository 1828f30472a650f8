// Pictures of every control, for looking at: written to the build folder's shots/.
#include "platform/gdi/png_writer.h"
#include "tests/controls/control_fixture.h"

#include <filesystem>

namespace controls_test {
namespace {

class ControlShots : public ControlTest {
protected:
    void save(const char* name)
    {
        pump();
        std::filesystem::create_directories(CONTROLS_SHOTS_DIR);
        EXPECT_TRUE(gdi::writePng(gdi::screen(), std::string(CONTROLS_SHOTS_DIR) + "/" + name));
    }

    HTREEITEM add(HWND tree, HTREEITEM under, const char16_t* text)
    {
        TVINSERTSTRUCTW insert{};
        insert.hParent = under;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<LPWSTR>(text);
        return TreeView_InsertItem(tree, &insert);
    }
};

TEST_F(ControlShots, StaticsButtonsAndEdits)
{
    create(WC_STATICW, SS_LEFT, 1, 4, 4, 232, 16, u"Слева: Часы работы, примечания:");
    create(WC_STATICW, SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, 2, 4, 22, 232, 30, u"ООО «Ромашка» & Ко");
    HWND disabledLabel = create(WC_STATICW, SS_RIGHT, 3, 4, 54, 232, 16, u"Справа, недоступно");
    EnableWindow(disabledLabel, FALSE);
    create(WC_BUTTONW, BS_PUSHBUTTON, 4, 4, 76, 110, 24, u"ОЧИСТИТЬ");
    create(WC_BUTTONW, BS_DEFPUSHBUTTON, 5, 126, 76, 110, 24, u"ИСКАТЬ");
    HWND pressed = create(WC_BUTTONW, BS_PUSHBUTTON, 6, 4, 104, 110, 24, u"Нажата");
    SendMessageW(pressed, BM_SETSTATE, TRUE, 0);
    HWND off = create(WC_BUTTONW, BS_PUSHBUTTON, 7, 126, 104, 110, 24, u"Недоступна");
    EnableWindow(off, FALSE);
    create(WC_BUTTONW, BS_OWNERDRAW, 8, 4, 132, 110, 24, u"Button1");
    HWND edit = create(WC_EDITW, WS_BORDER | ES_AUTOHSCROLL | ES_UPPERCASE, 9, 4, 162, 232, 20, u"");
    SetFocus(edit);
    type(u"невский проспект, 28");
    SendMessageW(edit, EM_SETSEL, 0, 7);
    HWND number = create(WC_EDITW, WS_BORDER | ES_NUMBER, 10, 4, 188, 110, 20, u"3125566");
    (void)number;
    HWND list = create(WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL, 11, 4, 214, 232, 100);
    for (const char16_t* line : {u"   (812) 312-55-66", u"   312-55-67 ф", u"   8-800-100-00-00"})
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    HWND names = create(WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_UPPERCASE | WS_VSCROLL, 12, 4, 240, 232, 76);
    for (const char16_t* line : {u"АПТЕКА №1", u"АПТЕКА НА НЕВСКОМ", u"АПТЕКА ПЕТЕРБУРГ", u"АПТЕКИ ОЗЕРКИ", u"АПТЕЧНЫЙ ПУНКТ"})
        SendMessageW(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    SetWindowTextW(names, u"аптек");
    SendMessageW(names, CB_SHOWDROPDOWN, TRUE, 0);
    save("statics_buttons_edits_combos.png");
}

TEST_F(ControlShots, ListBoxesAndTree)
{
    HWND list = create(WC_LISTBOXW, LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | LBS_DISABLENOSCROLL | WS_BORDER, 1, 0, 0,
                       240, 96);
    for (const char16_t* line : {u"Аптека №1, Невский пр., 28", u"Аптека Озерки, Литейный пр., 5/А",
                                 u"Банк Санкт-Петербург, Малоохтинский пр., 64", u"Вокзал Московский, пл. Восстания, 2",
                                 u"Гостиница Октябрьская, Лиговский пр., 10", u"Дом книги, Невский пр., 62",
                                 u"Ермитаж, Дворцовая пл., 2", u"Жилкомсервис №2, ул. Ленина, 12/А"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    SendMessageW(list, LB_SETCURSEL, 2, 0);

    HWND index = create(WC_LISTBOXW, LBS_NOTIFY | LBS_SORT | LBS_MULTICOLUMN, 2, 0, 100, 240, 28);
    SendMessageW(index, LB_SETCOLUMNWIDTH, 26, 0);
    for (const char16_t* pair : {u"АВ", u"АЛ", u"БА", u"БИ", u"ВО", u"ГА", u"ДО", u"ЕР", u"ЖИ", u"ЗА", u"ИН",
                                 u"КА", u"ЛЕ", u"МА", u"НЕ", u"ОК", u"ПА", u"РО"})
        SendMessageW(index, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pair));
    SendMessageW(index, LB_SETCURSEL, 3, 0);

    HWND tree = create(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 3, 0, 132,
                       240, 188);
    HTREEITEM food = add(tree, TVI_ROOT, u"Питание");
    add(tree, food, u"Кафе");
    HTREEITEM bars = add(tree, food, u"Бары, пабы");
    add(tree, bars, u"Пивные рестораны");
    add(tree, food, u"Рестораны");
    HTREEITEM auto_ = add(tree, TVI_ROOT, u"Автомобили");
    add(tree, auto_, u"Автосервис");
    add(tree, TVI_ROOT, u"Медицина");
    for (int i = 0; i < 10; ++i)
        add(tree, TVI_ROOT, u"Связь и телекоммуникации");
    TreeView_Expand(tree, food, TVE_EXPAND);
    TreeView_Expand(tree, bars, TVE_EXPAND);
    TreeView_SelectItem(tree, bars);
    SetFocus(tree);
    save("lists_and_tree.png");
}

TEST_F(ControlShots, DisabledControlsAndAColouredTree)
{
    HWND list = create(WC_LISTBOXW, LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | LBS_DISABLENOSCROLL | WS_BORDER, 1, 0, 0,
                       240, 60);
    for (const char16_t* line : {u"Часы работы: 9-21", u"Аптеки", u"Оптика"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    EnableWindow(list, FALSE);
    HWND combo = create(WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL, 2, 0, 64, 240, 80);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"(812) 312-55-66"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    EnableWindow(combo, FALSE);
    HWND edit = create(WC_EDITW, WS_BORDER | ES_READONLY, 3, 0, 90, 240, 20, u"Только для чтения");
    (void)edit;
    HWND tree = create(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER, 4,
                       0, 116, 240, 204);
    HFONT itemFont = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, u"Tahoma");
    onNotify = [itemFont](NMHDR* h) -> LRESULT {
        if (h->code != NM_CUSTOMDRAW)
            return 0;
        auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(h);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
            return CDRF_DODEFAULT;
        SelectObject(draw->nmcd.hdc, itemFont);
        draw->clrText = RGB(150, 75, 150);
        draw->clrTextBk = RGB(255, 255, 255);
        return CDRF_NEWFONT;
    };
    HTREEITEM chosen = nullptr;
    for (const char16_t* text : {u"Авиабилеты", u"Автосалоны", u"Аптеки", u"Банки", u"Бассейны", u"Гостиницы",
                                 u"Ёлочные базары", u"Железнодорожные кассы", u"Музеи", u"Театры", u"Экскурсии"}) {
        HTREEITEM item = add(tree, TVI_ROOT, text);
        if (chosen == nullptr && text[0] == u'Б')
            chosen = item;
    }
    TreeView_SelectItem(tree, chosen);
    save("disabled_and_coloured_tree.png");
    DeleteObject(itemFont);
}

}  // namespace
}  // namespace controls_test
