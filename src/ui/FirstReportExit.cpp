#include "ui/FirstReportExit.h"

#include <QDialog>
#include <QEvent>
#include <QPlainTextEdit>

#include <chrono>
#include <ostream>

CFirstReportExit::CFirstReportExit(QDialog& window, QPlainTextEdit& report, std::ostream& out)
    : QObject(&window)
    , m_window(window)
    , m_report(report)
    , m_out(out)
{
    m_report.viewport()->installEventFilter(this);
}

bool CFirstReportExit::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_bShown && event->type() == QEvent::Paint && !m_report.document()->isEmpty()) {
        m_bShown = true;
        // Queued, so the painted window reaches the screen before the clock is read.
        QMetaObject::invokeMethod(this, &CFirstReportExit::Exit, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void CFirstReportExit::Exit()
{
    using namespace std::chrono;
    const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
    m_out << "shown " << now.count() << '\n' << m_report.toPlainText().toStdString() << std::endl;
    m_window.done(QDialog::Accepted);
}
