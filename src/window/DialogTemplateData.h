#pragma once

#include <string_view>

// The text of res/dialogs/<id>.dlg as embedded at build time (UTF-8); empty for an id that has
// no template.
std::string_view EmbeddedDialogTemplate(int id);
