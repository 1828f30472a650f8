#include "error_texts.h"

namespace kernel {
namespace {

struct ErrorText {
    DWORD error;
    const char16_t* text;
};

constexpr ErrorText texts[] = {
    {ERROR_SUCCESS, u"Операция успешно завершена."},
    {ERROR_INVALID_FUNCTION, u"Неверная функция."},
    {ERROR_FILE_NOT_FOUND, u"Не удается найти указанный файл."},
    {ERROR_PATH_NOT_FOUND, u"Системе не удается найти указанный путь."},
    {ERROR_TOO_MANY_OPEN_FILES, u"Системе не удается открыть файл: открыто слишком много файлов."},
    {ERROR_ACCESS_DENIED, u"Отказано в доступе."},
    {ERROR_INVALID_HANDLE, u"Неверный дескриптор."},
    {ERROR_NOT_ENOUGH_MEMORY, u"Недостаточно памяти для обработки команды."},
    {ERROR_INVALID_DATA, u"Недопустимые данные."},
    {ERROR_OUTOFMEMORY, u"Недостаточно памяти для завершения операции."},
    {ERROR_NO_MORE_FILES, u"Больше файлов нет."},
    {ERROR_SEEK, u"Не удается найти указанную область на носителе."},
    {ERROR_WRITE_FAULT, u"Не удается произвести запись на устройство."},
    {ERROR_READ_FAULT, u"Не удается произвести чтение с устройства."},
    {ERROR_GEN_FAILURE, u"Устройство, присоединенное к системе, не работает."},
    {ERROR_SHARING_VIOLATION, u"Процесс не может получить доступ к файлу, так как этот файл занят другим процессом."},
    {ERROR_HANDLE_EOF, u"Достигнут конец файла."},
    {ERROR_NOT_SUPPORTED, u"Такой запрос не поддерживается."},
    {ERROR_FILE_EXISTS, u"Файл существует."},
    {ERROR_INVALID_PARAMETER, u"Параметр задан неверно."},
    {ERROR_DISK_FULL, u"Недостаточно места на диске."},
    {ERROR_CALL_NOT_IMPLEMENTED, u"Эта функция не поддерживается в данной системе."},
    {ERROR_INSUFFICIENT_BUFFER, u"Область данных, переданная системному вызову, слишком мала."},
    {ERROR_INVALID_NAME, u"Синтаксическая ошибка в имени файла, имени папки или метке тома."},
    {ERROR_MOD_NOT_FOUND, u"Не найден указанный модуль."},
    {ERROR_PROC_NOT_FOUND, u"Не найдена указанная процедура."},
    {ERROR_NEGATIVE_SEEK, u"Попытка переместить указатель файла за начало файла."},
    {ERROR_DIR_NOT_EMPTY, u"Папка не пуста."},
    {ERROR_ALREADY_EXISTS, u"Невозможно создать файл, так как он уже существует."},
    {ERROR_FILENAME_EXCED_RANGE, u"Имя файла или его расширение имеет слишком большую длину."},
    {ERROR_DIRECTORY, u"Неверно задано имя папки."},
    {ERROR_NOT_OWNER, u"Попытка освободить мьютекс, не принадлежащий вызывающему."},
    {ERROR_MR_MID_NOT_FOUND, u"Не найден текст сообщения с указанным номером."},
    {ERROR_INVALID_FLAGS, u"Недопустимые флаги."},
    {ERROR_NO_UNICODE_TRANSLATION, u"Для символа из многобайтовой кодовой страницы не найдено соответствие в Юникоде."},
    {ERROR_RESOURCE_DATA_NOT_FOUND, u"Указанный файл образа не содержит раздела ресурсов."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, u"Не удается найти указанный тип ресурса в файле образа."},
    {ERROR_RESOURCE_NAME_NOT_FOUND, u"Не удается найти указанное имя ресурса в файле образа."},
};

}  // namespace

const char16_t* errorText(DWORD error) {
    for (const ErrorText& entry : texts)
        if (entry.error == error) return entry.text;
    return nullptr;
}

}  // namespace kernel
