#include "ui/DialogTemplate.h"

#include <QFile>
#include <QStringList>

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<const char*, CDialogControl::EKind>, 10> kKinds { {
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

constexpr std::array<std::pair<const char*, CDialogControl::EStyle>, 10> kStyles { {
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

struct Token {
    QString text;
    bool quoted = false;
};

// Splits a line into words and double-quoted strings; a '#' outside quotes starts a comment.
bool Tokenize(QStringView line, std::vector<Token>& tokens, QString& error)
{
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        const QChar c = line[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'#') {
            break;
        } else if (c == u'"') {
            Token token { QString(), true };
            for (++i; i < n && line[i] != u'"'; ++i) {
                if (line[i] == u'\\' && i + 1 < n)
                    ++i;
                token.text += line[i];
            }
            if (i >= n) {
                error = QStringLiteral("unterminated string");
                return false;
            }
            ++i;
            tokens.push_back(std::move(token));
        } else {
            const qsizetype start = i;
            while (i < n && !line[i].isSpace() && line[i] != u'"')
                ++i;
            tokens.push_back({ line.mid(start, i - start).toString(), false });
        }
    }
    return true;
}

bool ToInt(const Token& token, int& value)
{
    bool ok = false;
    value = token.text.toInt(&ok);
    return ok && !token.quoted;
}

bool ParseOption(const Token& token, CDialogControl& control)
{
    if (token.quoted)
        return false;
    for (const auto& [name, style] : kStyles) {
        if (token.text == QLatin1String(name)) {
            control.nStyle |= style;
            return true;
        }
    }
    if (token.text.startsWith(QLatin1String("maxlength="))) {
        bool ok = false;
        control.nMaxLength = token.text.mid(10).toInt(&ok);
        return ok && control.nMaxLength > 0;
    }
    return false;
}

bool ParseControl(const std::vector<Token>& tokens, CDialogControl& control, QString& error)
{
    if (tokens.size() < 7) {
        error = QStringLiteral("a control needs kind, id, left, top, width, height and text");
        return false;
    }
    bool known = false;
    for (const auto& [name, kind] : kKinds) {
        if (tokens[0].text == QLatin1String(name)) {
            control.kind = kind;
            known = true;
        }
    }
    if (!known || tokens[0].quoted) {
        error = QStringLiteral("unknown kind \"%1\"").arg(tokens[0].text);
        return false;
    }
    int left = 0, top = 0, width = 0, height = 0;
    if (!ToInt(tokens[1], control.nId) || !ToInt(tokens[2], left) || !ToInt(tokens[3], top)
        || !ToInt(tokens[4], width) || !ToInt(tokens[5], height) || width < 0 || height < 0) {
        error = QStringLiteral("id and rectangle must be numbers");
        return false;
    }
    control.rect = QRect(left, top, width, height);
    if (!tokens[6].quoted) {
        error = QStringLiteral("the text must be quoted");
        return false;
    }
    control.strText = tokens[6].text;
    for (size_t i = 7; i < tokens.size(); ++i) {
        if (!ParseOption(tokens[i], control)) {
            error = QStringLiteral("unknown option \"%1\"").arg(tokens[i].text);
            return false;
        }
    }
    return true;
}

bool ParseLine(
    const std::vector<Token>& tokens, CDialogTemplate& dialog, bool& haveHeader, QString& error)
{
    const QString& keyword = tokens[0].text;
    if (keyword == QLatin1String("dialog")) {
        int width = 0, height = 0;
        if (tokens.size() != 4 || !ToInt(tokens[1], dialog.m_nId) || !ToInt(tokens[2], width)
            || !ToInt(tokens[3], height) || width <= 0 || height <= 0) {
            error = QStringLiteral("expected: dialog <id> <width> <height>");
            return false;
        }
        dialog.m_size = QSize(width, height);
        haveHeader = true;
        return true;
    }
    if (!haveHeader) {
        error = QStringLiteral("the first line must be the dialog line");
        return false;
    }
    if (keyword == QLatin1String("title")) {
        if (tokens.size() != 2 || !tokens[1].quoted) {
            error = QStringLiteral("expected: title \"<text>\"");
            return false;
        }
        dialog.m_strTitle = tokens[1].text;
        return true;
    }
    if (keyword == QLatin1String("font")) {
        if (tokens.size() != 3 || !ToInt(tokens[1], dialog.m_nPointSize) || !tokens[2].quoted
            || dialog.m_nPointSize <= 0) {
            error = QStringLiteral("expected: font <points> \"<family>\"");
            return false;
        }
        dialog.m_strFontFamily = tokens[2].text;
        return true;
    }
    if (keyword == QLatin1String("style")) {
        if (tokens.size() != 2 || tokens[1].text != QLatin1String("resizable")) {
            error = QStringLiteral("expected: style resizable");
            return false;
        }
        dialog.m_bResizable = true;
        return true;
    }
    CDialogControl control;
    if (!ParseControl(tokens, control, error))
        return false;
    if (control.nId != -1 && dialog.Find(control.nId)) {
        error = QStringLiteral("control id %1 used twice").arg(control.nId);
        return false;
    }
    dialog.m_controls.push_back(std::move(control));
    return true;
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

std::optional<CDialogTemplate> CDialogTemplate::Parse(QStringView text, QString* error)
{
    CDialogTemplate dialog;
    bool haveHeader = false;
    int lineNumber = 0;
    for (QStringView line : text.split(u'\n')) {
        ++lineNumber;
        std::vector<Token> tokens;
        QString message;
        bool ok = Tokenize(line, tokens, message);
        if (ok && !tokens.empty())
            ok = ParseLine(tokens, dialog, haveHeader, message);
        if (!ok) {
            if (error)
                *error = QStringLiteral("line %1: %2").arg(lineNumber).arg(message);
            return std::nullopt;
        }
    }
    if (!haveHeader) {
        if (error)
            *error = QStringLiteral("no dialog line");
        return std::nullopt;
    }
    return dialog;
}

CDialogTemplate CDialogTemplate::Load(int id)
{
    const QString name = QStringLiteral(":/dialogs/%1.dlg").arg(id);
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("Dialog template %s is missing from the program", qPrintable(name));
    QString error;
    std::optional<CDialogTemplate> dialog = Parse(QString::fromUtf8(file.readAll()), &error);
    if (dialog && dialog->m_nId != id)
        error = QStringLiteral("it holds dialog %1").arg(dialog->m_nId);
    if (!dialog || dialog->m_nId != id)
        qFatal("Dialog template %s is damaged: %s", qPrintable(name), qPrintable(error));
    return std::move(*dialog);
}
