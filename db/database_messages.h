// The message boxes of the database subsystem, owned by databaseProgram.messageOwner.
#pragma once

#include "win32.h"

// "Для работы программы недостаточно памяти..." / "ИЗВИНИТЕ".
void reportOutOfMemory();
// A details text longer than its limit: the field's label as text, "ERR" as caption, no icon.
void reportFieldTooLong(LPCWSTR label);
// "НЕТ ДОСТУПНЫХ БАЗ ДАННЫХ!" / "ОШИБКА": discovery found nothing usable.
void reportNoDatabases();
