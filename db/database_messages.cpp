#include "db/database_messages.h"

#include "db/database.h"
#include "db/database_program.h"

namespace {

// Stop icon, kept above other windows: the reader's failures can come while another program's
// window is in front.
constexpr UINT stopBoxStyle = MB_OK | MB_ICONSTOP | MB_TOPMOST;

} // namespace

void reportDamaged(const DirectoryDatabase&) {
    MessageBoxW(databaseProgram.messageOwner, W("Файл базы данных поврежден !?"), W("ОШИБКА"), stopBoxStyle);
}

void reportOutOfMemory() {
    MessageBoxW(databaseProgram.messageOwner,
                W("Для работы программы недостаточно памяти.\nВыгрузите из памяти ненужные приложения\n"
                  "и повторите попытку."),
                W("ИЗВИНИТЕ"), stopBoxStyle);
}

void reportFieldTooLong(LPCWSTR label) { MessageBoxW(databaseProgram.messageOwner, label, W("ERR"), MB_OK); }

void reportNoDatabases() {
    MessageBoxW(databaseProgram.messageOwner, W("НЕТ ДОСТУПНЫХ БАЗ ДАННЫХ!"), W("ОШИБКА"), MB_OK | MB_ICONSTOP);
}
