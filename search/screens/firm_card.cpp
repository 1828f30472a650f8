#include "search/screens/firm_card.h"

#include "db/database.h"
#include "db/database_program.h"

int32_t readFirmForCard(uint32_t firmRef)
{
    DirectoryDatabase* db = databaseProgram.current;
    if (db == nullptr)
        return errorNoWindow;
    return readRecord(*db, tableFirms, firmRef, detailBody | detailStreet | detailDetails, cardReadCap);
}

void openFirmCard(HWND owner)
{
    showBusinessCard(owner);
}
