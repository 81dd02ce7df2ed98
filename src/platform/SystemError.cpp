#include "platform/SystemError.h"

#include "platform/Cp1252.h"

#include <system_error>

std::string SystemErrorText(int error)
{
    // The message follows the user's locale, whose text the desktop hands over as UTF-8.
    return Utf8ToCp1252(std::generic_category().message(error));
}
