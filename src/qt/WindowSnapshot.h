#pragma once

#include <QString>

class QDialog;
class QWidget;

// For start-up measurements only: writes what a window shows (its size, font and title, and
// every control's kind, place, text and look) to a file, so that a plain Qt program can build
// the same window without anything of ours behind it. Format: a QDataStream of the fields, in
// the order that bench/startup/FloorDialog.cpp reads them.
bool WriteWindowSnapshot(const QDialog& window, const QWidget& report, const QString& path);
