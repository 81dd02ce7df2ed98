# Writes OUTPUT, a C++ source that carries every DIALOG_DIR/<id>.dlg as it is (UTF-8) and hands
# it out by id. Run as a script (cmake -P) during the build, on the build machine.
cmake_minimum_required(VERSION 3.25)
file(GLOB templates ${DIALOG_DIR}/*.dlg)
list(SORT templates)
set(cases "")
foreach(path ${templates})
  get_filename_component(id ${path} NAME_WE)
  if(NOT id MATCHES "^[0-9]+$")
    message(FATAL_ERROR "${path}: a dialog template is named by its number")
  endif()
  file(READ ${path} bytes HEX)
  file(SIZE ${path} size)
  # Every byte as an escape, so that no text in a template can end the literal early.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${bytes}")
  # One line of the template per line of the literal.
  string(REPLACE "\\x0a" "\\x0a\"\n            \"" escaped "${escaped}")
  string(APPEND cases "    case ${id}:\n        return std::string_view(\"${escaped}\",\n            ${size});\n")
endforeach()

file(WRITE ${OUTPUT}.new "// Generated from res/dialogs/*.dlg by cmake/EmbedDialogTemplates.cmake. Do not edit.
#include \"window/DialogTemplateData.h\"

std::string_view EmbeddedDialogTemplate(int id)
{
    switch (id) {
${cases}    }
    return {};
}
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
