#include "shell/city_variant.h"

#include "resources/dernolo/dernolo_ids.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

namespace {

struct CityVariant {
    int partnerIcon;  // index into variantIcons
    const WCHAR* partnerPage;
    const WCHAR* tile8Caption;
    int tile8IconId;
    int tile8Icon;
    const WCHAR* tile8Page;
    const WCHAR* listCaptions[5];  // tiles 29-33
    const WCHAR* listPages[5];
    int exactTimeIcon;
};

const CityVariant variants[2] = {
    {4, W("HTML\\lumetra.html"), W("Разводка мостов"), IDI_TILE_BRIDGES, 0, W("HTML\\bridges.html"),
     {W("   • Службы спасения, аварийные службы"), W("   • Безопасность, охрана правопорядка"),
      W("   • Здравоохранение"), W("   • Транспорт"), W("   • Справочные службы")},
     {W("HTML\\emergency.html"), W("HTML\\security_service.html"), W("HTML\\medics.html"),
      W("HTML\\transport.html"), W("HTML\\info_service.html")},
     2},
    {5, W("HTML\\quandrix.html"), W("Таблица штрафов"), IDI_VARIANT_FINES, 1, W("HTML\\pdd.htm"),
     {W("   • Службы спасения и аварийные службы"), W("   • Безопасность и охрана порядка"),
      W("   • Здравоохранение"), W("   • Транспорт/заказ билетов"), W("   • Справочные службы")},
     {W("HTML\\resc.htm"), W("HTML\\ohr.htm"), W("HTML\\zdrav.htm"), W("HTML\\transp.htm"), W("HTML\\sprav.htm")},
     3},
};

HICON variantIcon(int index)
{
    return static_cast<HICON>(shellState.variantIcons[index]);
}

} // namespace

void applyCityVariant(int selector)
{
    if (selector != 0 && selector != 1)
        return;
    const CityVariant& v = variants[selector];
    tileTable[6].icon = variantIcon(v.partnerIcon);
    tileTable[6].page = v.partnerPage;
    tileTable[8].caption = v.tile8Caption;
    tileTable[8].iconId = v.tile8IconId;
    tileTable[8].icon = variantIcon(v.tile8Icon);
    tileTable[8].page = v.tile8Page;
    for (int i = 0; i < 5; ++i) {
        tileTable[29 + i].caption = v.listCaptions[i];
        tileTable[29 + i].page = v.listPages[i];
    }
    tileTable[35].icon = variantIcon(v.exactTimeIcon);
}
