#pragma once

#include <string>
#include <string_view>

// The core's texts are Windows-1252 and its paths UTF-8; the window system speaks UTF-16.
// These convert at the face's edge and nowhere else.
std::wstring WideFromCp1252(std::string_view cp1252);
// Characters that Windows-1252 lacks become "?".
std::string Cp1252FromWide(std::wstring_view wide);
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// An edit control breaks lines only at CR LF: a lone LF becomes CR LF.
std::wstring WithCrLf(std::wstring_view text);
