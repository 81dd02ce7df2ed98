#include "window/DialogTemplate.h"

#include "platform/Cp1252.h"
#include "window/DialogTemplateData.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, CDialogControl::EKind>, 10> kKinds { {
    { "label", CDialogControl::Label },
    { "label-right", CDialogControl::LabelRight },
    { "button", CDialogControl::Button },
    { "default-button", CDialogControl::DefaultButton },
    { "checkbox", CDialogControl::CheckBox },
    { "dropdown", CDialogControl::DropDownList },
    { "listbox", CDialogControl::ListBox },
    { "edit", CDialogControl::Edit },
    { "group", CDialogControl::GroupBox },
    { "icon", CDialogControl::Icon },
} };

constexpr std::array<std::pair<std::string_view, CDialogControl::EStyle>, 10> kStyles { {
    { "multiline", CDialogControl::Multiline },
    { "wantreturn", CDialogControl::WantReturn },
    { "readonly", CDialogControl::ReadOnly },
    { "vscroll", CDialogControl::VScroll },
    { "hscroll", CDialogControl::HScroll },
    { "autohscroll", CDialogControl::AutoHScroll },
    { "sort", CDialogControl::Sort },
    { "free", CDialogControl::FreeSelect },
    { "extended", CDialogControl::ExtendedSelect },
    { "notify", CDialogControl::Notify },
} };

constexpr std::string_view kMaxLengthOption = "maxlength=";

struct Token {
    std::string text; // as written: UTF-8
    bool quoted = false;
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Splits a line into words and double-quoted strings; a '#' outside quotes starts a comment.
bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error)
{
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        const char c = line[i];
        if (IsSpace(c)) {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token token { std::string(), true };
            for (++i; i < n && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < n)
                    ++i;
                token.text += line[i];
            }
            if (i >= n) {
                error = "unterminated string";
                return false;
            }
            ++i;
            tokens.push_back(std::move(token));
        } else {
            const size_t start = i;
            while (i < n && !IsSpace(line[i]) && line[i] != '"')
                ++i;
            tokens.push_back({ std::string(line.substr(start, i - start)), false });
        }
    }
    return true;
}

// A whole decimal number, optionally signed.
bool ToInt(std::string_view text, int& value)
{
    if (text.starts_with('+'))
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    return !text.empty() && status == std::errc() && stop == end;
}

bool ToInt(const Token& token, int& value)
{
    return !token.quoted && ToInt(token.text, value);
}

bool ParseOption(const Token& token, CDialogControl& control)
{
    if (token.quoted)
        return false;
    for (const auto& [name, style] : kStyles) {
        if (token.text == name) {
            control.nStyle |= style;
            return true;
        }
    }
    if (std::string_view(token.text).starts_with(kMaxLengthOption)) {
        const bool ok = ToInt(
            std::string_view(token.text).substr(kMaxLengthOption.size()), control.nMaxLength);
        return ok && control.nMaxLength > 0;
    }
    return false;
}

bool ParseKind(const Token& token, CDialogControl& control)
{
    for (const auto& [name, kind] : kKinds) {
        if (!token.quoted && token.text == name) {
            control.kind = kind;
            return true;
        }
    }
    return false;
}

bool ParseControl(const std::vector<Token>& tokens, CDialogControl& control, std::string& error)
{
    if (tokens.size() < 7) {
        error = "a control needs kind, id, left, top, width, height and text";
        return false;
    }
    if (!ParseKind(tokens[0], control)) {
        error = "unknown kind \"" + tokens[0].text + "\"";
        return false;
    }
    SRect& rect = control.rect;
    if (!ToInt(tokens[1], control.nId) || !ToInt(tokens[2], rect.x) || !ToInt(tokens[3], rect.y)
        || !ToInt(tokens[4], rect.width) || !ToInt(tokens[5], rect.height) || rect.width < 0
        || rect.height < 0) {
        error = "id and rectangle must be numbers";
        return false;
    }
    if (!tokens[6].quoted) {
        error = "the text must be quoted";
        return false;
    }
    control.strText = Utf8ToCp1252(tokens[6].text);
    for (size_t i = 7; i < tokens.size(); ++i) {
        if (!ParseOption(tokens[i], control)) {
            error = "unknown option \"" + tokens[i].text + "\"";
            return false;
        }
    }
    return true;
}

bool ParseHeader(const std::vector<Token>& tokens, CDialogTemplate& dialog, std::string& error)
{
    SSize& size = dialog.m_size;
    if (tokens.size() != 4 || !ToInt(tokens[1], dialog.m_nId) || !ToInt(tokens[2], size.width)
        || !ToInt(tokens[3], size.height) || size.width <= 0 || size.height <= 0) {
        error = "expected: dialog <id> <width> <height>";
        return false;
    }
    return true;
}

// The lines that describe the dialog itself rather than a control; false for a control line.
bool ParseDialogLine(
    const std::vector<Token>& tokens, CDialogTemplate& dialog, bool& ok, std::string& error)
{
    const std::string& keyword = tokens[0].text;
    if (keyword == "title") {
        ok = tokens.size() == 2 && tokens[1].quoted;
        if (ok)
            dialog.m_strTitle = Utf8ToCp1252(tokens[1].text);
        else
            error = "expected: title \"<text>\"";
    } else if (keyword == "font") {
        ok = tokens.size() == 3 && ToInt(tokens[1], dialog.m_nPointSize) && tokens[2].quoted
            && dialog.m_nPointSize > 0;
        if (ok)
            dialog.m_strFontFamily = Utf8ToCp1252(tokens[2].text);
        else
            error = "expected: font <points> \"<family>\"";
    } else if (keyword == "style") {
        ok = tokens.size() == 2 && tokens[1].text == "resizable";
        dialog.m_bResizable = ok;
        if (!ok)
            error = "expected: style resizable";
    } else {
        return false;
    }
    return true;
}

bool ParseLine(
    const std::vector<Token>& tokens, CDialogTemplate& dialog, bool& haveHeader, std::string& error)
{
    if (tokens[0].text == "dialog") {
        haveHeader = ParseHeader(tokens, dialog, error);
        return haveHeader;
    }
    if (!haveHeader) {
        error = "the first line must be the dialog line";
        return false;
    }
    bool ok = false;
    if (ParseDialogLine(tokens, dialog, ok, error))
        return ok;
    CDialogControl control;
    if (!ParseControl(tokens, control, error))
        return false;
    if (control.nId != -1 && dialog.Find(control.nId)) {
        error = "control id " + std::to_string(control.nId) + " used twice";
        return false;
    }
    dialog.m_controls.push_back(std::move(control));
    return true;
}

[[noreturn]] void BuildFault(int id, const std::string& what)
{
    std::fprintf(stderr, "Dialog template %d.dlg %s\n", id, what.c_str());
    std::abort();
}

} // namespace

const CDialogControl* CDialogTemplate::Find(int id) const
{
    for (const CDialogControl& control : m_controls) {
        if (control.nId == id)
            return &control;
    }
    return nullptr;
}

std::optional<CDialogTemplate> CDialogTemplate::Parse(std::string_view text, std::string* error)
{
    CDialogTemplate dialog;
    bool haveHeader = false;
    int lineNumber = 0;
    for (size_t start = 0; start <= text.size(); ++lineNumber) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::vector<Token> tokens;
        std::string message;
        bool ok = Tokenize(text.substr(start, end - start), tokens, message);
        if (ok && !tokens.empty())
            ok = ParseLine(tokens, dialog, haveHeader, message);
        if (!ok) {
            if (error)
                *error = "line " + std::to_string(lineNumber + 1) + ": " + message;
            return std::nullopt;
        }
        start = end + 1;
    }
    if (!haveHeader) {
        if (error)
            *error = "no dialog line";
        return std::nullopt;
    }
    return dialog;
}

CDialogTemplate CDialogTemplate::Load(int id)
{
    const std::string_view text = EmbeddedDialogTemplate(id);
    if (text.empty())
        BuildFault(id, "is missing from the program");
    std::string error;
    std::optional<CDialogTemplate> dialog = Parse(text, &error);
    if (dialog && dialog->m_nId != id)
        error = "holds dialog " + std::to_string(dialog->m_nId);
    if (!dialog || dialog->m_nId != id)
        BuildFault(id, "is damaged: " + error);
    return std::move(*dialog);
}
