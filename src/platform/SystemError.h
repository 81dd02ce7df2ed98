#pragma once

#include <string>

// The system's own wording of an error number (errno), in Windows-1252 for the profile's texts.
std::string SystemErrorText(int error);
