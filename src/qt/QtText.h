#pragma once

#include <QString>

#include <string>
#include <string_view>

// The one place where Qt's text meets the core's Windows-1252 bytes.
QString ToQString(std::string_view cp1252);
// Characters that Windows-1252 lacks become "?".
std::string FromQString(const QString& text);
