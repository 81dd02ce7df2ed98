#pragma once

#include <string>

// A folder that only this user can enter, for the program's locks and its hand-over socket:
// another user can neither take their names first nor reach them. XDG_RUNTIME_DIR when it is
// such a folder; otherwise "quotino-<uid>" in the temporary folder, made with mode 0700 and
// used only when it is a folder of this user's that nobody else may enter. "" when neither
// is: the caller then has no safe place and must say so.
std::string PrivateRuntimeFolder();
