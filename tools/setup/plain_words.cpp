#include "tools/setup/plain_words.h"

namespace setup {

std::string describeReason(std::error_code error)
{
    switch (static_cast<std::errc>(error.value())) {
    case std::errc::no_space_on_device:
        return "на устройстве нет места";
    case std::errc::permission_denied:
    case std::errc::operation_not_permitted:
        return "нет прав на запись в эту папку";
    case std::errc::read_only_file_system:
        return "устройство доступно только для чтения";
    case std::errc::no_such_file_or_directory:
        return "файл или папка не найдены";
    case std::errc::is_a_directory:
        return "на этом месте папка, а не файл";
    case std::errc::not_a_directory:
        return "на этом месте файл, а не папка";
    case std::errc::filename_too_long:
        return "слишком длинный путь";
    case std::errc::io_error:
        return "ошибка чтения или записи на устройстве";
    case std::errc::too_many_symbolic_link_levels:
        return "ссылка указывает сама на себя";
    default:
        return "системная ошибка (" + error.message() + ")";
    }
}

std::string describeFailure(const std::string& action, const std::string& what, std::error_code error)
{
    return "Не удалось " + action + " «" + what + "»: " + describeReason(error) + ".";
}

} // namespace setup
