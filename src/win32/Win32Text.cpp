#include "win32/Win32Text.h"

#include <windows.h>

namespace {

constexpr UINT kWindows1252 = 1252;

std::wstring ToWide(UINT codePage, std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    // UTF-8 accepts no replacement character argument.
    const char* replacement = codePage == CP_UTF8 ? nullptr : "?";
    const int length
        = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, replacement, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, replacement, nullptr);
    return text;
}

} // namespace

std::wstring WideFromCp1252(std::string_view cp1252)
{
    return ToWide(kWindows1252, cp1252);
}

std::string Cp1252FromWide(std::wstring_view wide)
{
    return FromWide(kWindows1252, wide);
}

std::wstring WideFromUtf8(std::string_view utf8)
{
    return ToWide(CP_UTF8, utf8);
}

std::string Utf8FromWide(std::wstring_view wide)
{
    return FromWide(CP_UTF8, wide);
}

std::wstring WithCrLf(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            out += L'\r';
        out += text[i];
    }
    return out;
}
