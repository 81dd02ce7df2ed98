// The fair floor for the program's start-up: a plain Qt program that builds the same kinds and
// number of controls in the same places with the same texts as the program's main window shows
// at its first report (read from a snapshot the program wrote in an earlier run), and exits
// after the first paint of the report field, as the program does when measured. What the
// program takes beyond this is its own work: profile, templates, clipboard and calculation.
#include "FirstPaintExit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <iostream>

namespace {

Qt::ScrollBarPolicy Policy(bool on)
{
    return on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
}

// One control as the snapshot describes it; the report field when flags say so.
QWidget* Create(const QString& kind, const QString& text, const QStringList& items, int flags,
    int alignment, QDialog& dialog)
{
    if (kind == QLatin1String("QPlainTextEdit")) {
        auto* edit = new QPlainTextEdit(&dialog);
        edit->setPlainText(text);
        edit->setReadOnly(flags & 8);
        edit->setLineWrapMode(flags & 16 ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy(Policy(flags & 32));
        edit->setHorizontalScrollBarPolicy(Policy(flags & 64));
        if (flags & 4) {
            new CFirstPaintExit(
                dialog, *edit->viewport(), [edit] { return !edit->document()->isEmpty(); },
                [edit] { return edit->toPlainText().toStdString(); });
        }
        return edit;
    }
    if (kind == QLatin1String("QLabel")) {
        auto* label = new QLabel(&dialog);
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        label->setWordWrap(flags & 128);
        label->setAlignment(Qt::Alignment(alignment));
        return label;
    }
    if (kind == QLatin1String("QPushButton")) {
        auto* button = new QPushButton(text, &dialog);
        button->setAutoDefault(flags & 512);
        button->setDefault(flags & 512);
        return button;
    }
    if (kind == QLatin1String("QCheckBox")) {
        auto* box = new QCheckBox(text, &dialog);
        box->setChecked(flags & 256);
        return box;
    }
    if (kind == QLatin1String("QComboBox")) {
        auto* box = new QComboBox(&dialog);
        box->addItems(items);
        return box;
    }
    if (kind == QLatin1String("QLineEdit"))
        return new QLineEdit(text, &dialog);
    return new QWidget(&dialog);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: floor_dialog SNAPSHOT\n";
        return 1;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::cerr << "floor_dialog: cannot read " << argv[1] << '\n';
        return 1;
    }
    QDataStream in(&file);
    QString title;
    QFont font;
    QSize size;
    qint32 count = 0;
    in >> title >> font >> size >> count;
    QDialog dialog;
    dialog.setWindowTitle(title);
    dialog.setFont(font);
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString kind, text;
        QRect rect;
        QStringList items;
        qint32 flags = 0, alignment = 0;
        in >> kind >> rect >> text >> items >> flags >> alignment;
        QWidget* widget = Create(kind, text, items, flags, alignment, dialog);
        widget->setGeometry(rect);
        widget->setHidden(flags & 1);
        widget->setEnabled(!(flags & 2));
    }
    if (in.status() != QDataStream::Ok) {
        std::cerr << "floor_dialog: damaged snapshot\n";
        return 1;
    }
    dialog.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    dialog.resize(size);
    dialog.exec();
    return 0;
}
