// The yardstick for the program's start-up: one empty dialog, shown once. Once its first paint
// is done it prints the wall clock ("shown <microseconds since the epoch>") and quits, as the
// program does after its first report when measured.
#include "FirstPaintExit.h"

#include <QApplication>
#include <QDialog>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    new CFirstPaintExit(dialog, dialog);
    dialog.exec();
    return 0;
}
