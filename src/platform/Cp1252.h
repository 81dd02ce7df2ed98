#pragma once

#include <string>
#include <string_view>

// The program's text is Windows-1252 bytes in std::string; these convert at the edges.

// Every byte value maps to a character; the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same number, as Windows does.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Invalid UTF-8 sequences and characters that Windows-1252 lacks become "?".
std::string Utf8ToCp1252(std::string_view utf8);

// One code point to its Windows-1252 byte; returns false when there is none.
bool CodePointToCp1252(char32_t codePoint, char& byte);
char32_t Cp1252ToCodePoint(unsigned char byte);

// One code point appended as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);
