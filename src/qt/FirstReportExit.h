#pragma once

#include <QObject>

#include <iosfwd>

class QDialog;
class QPlainTextEdit;

// For start-up measurements only: once a non-empty report has been painted, prints the wall
// clock in microseconds since the epoch ("shown <us>") and the report, then ends the window's
// run. Nothing of it exists in a normal run.
class CFirstReportExit : public QObject {
public:
    CFirstReportExit(QDialog& window, QPlainTextEdit& report, std::ostream& out);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Exit();

    QDialog& m_window;
    QPlainTextEdit& m_report;
    std::ostream& m_out;
    bool m_bShown = false;
};
