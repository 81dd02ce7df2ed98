#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The system's message box with the program's own button texts (Windows-1252): the system
// would label its buttons in the system's language, the rest of the window speaks the
// profile's. Returns the id of the button the user pressed (IDOK, IDRETRY, ...).
using ButtonTexts = std::vector<std::pair<int, std::string>>;
int ShowMessageBox(HWND owner, const std::string& title, const std::string& text, UINT type,
    const ButtonTexts& buttons = {});
