#include "qt/WindowSnapshot.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDataStream>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The nearest class of Qt's own: the floor program has none of ours.
QString QtKind(const QWidget& widget)
{
    for (const QMetaObject* meta = widget.metaObject(); meta; meta = meta->superClass()) {
        const QString name = QString::fromLatin1(meta->className());
        if (name.startsWith(QLatin1Char('Q')))
            return name;
    }
    return QStringLiteral("QWidget");
}

QString Text(const QWidget& widget)
{
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(&widget))
        return edit->toPlainText();
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    if (const auto* line = qobject_cast<const QLineEdit*>(&widget))
        return line->text();
    return {};
}

QStringList Items(const QWidget& widget)
{
    QStringList items;
    if (const auto* box = qobject_cast<const QComboBox*>(&widget)) {
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
    }
    return items;
}

int Flags(const QWidget& widget, const QWidget& report)
{
    int flags = 0;
    flags |= widget.isHidden() ? 1 : 0;
    flags |= widget.isEnabled() ? 0 : 2;
    flags |= &widget == &report ? 4 : 0;
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(&widget)) {
        flags |= edit->isReadOnly() ? 8 : 0;
        flags |= edit->lineWrapMode() == QPlainTextEdit::NoWrap ? 16 : 0;
        flags |= edit->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ? 32 : 0;
        flags |= edit->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ? 64 : 0;
    }
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        flags |= label->wordWrap() ? 128 : 0;
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        flags |= button->isChecked() ? 256 : 0;
    if (const auto* button = qobject_cast<const QPushButton*>(&widget))
        flags |= button->isDefault() ? 512 : 0;
    return flags;
}

} // namespace

bool WriteWindowSnapshot(const QDialog& window, const QWidget& report, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QDataStream out(&file);
    out << window.windowTitle() << window.font() << window.size();
    const QList<QWidget*> controls = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    out << static_cast<qint32>(controls.size());
    for (const QWidget* control : controls) {
        int alignment = 0;
        if (const auto* label = qobject_cast<const QLabel*>(control))
            alignment = static_cast<int>(label->alignment());
        out << QtKind(*control) << control->geometry() << Text(*control) << Items(*control)
            << static_cast<qint32>(Flags(*control, report)) << static_cast<qint32>(alignment);
    }
    return out.status() == QDataStream::Ok;
}
