#include "qt/FirstReportExit.h"

#include "qt/WindowSnapshot.h"

#include <QDialog>
#include <QEvent>
#include <QPlainTextEdit>

#include <chrono>
#include <iostream>
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
    // The start-up measurement's floor program rebuilds this window from the snapshot.
    const QByteArray snapshot = qgetenv("QUOTINO_WINDOW_SNAPSHOT");
    if (!snapshot.isEmpty()
        && !WriteWindowSnapshot(m_window, m_report, QString::fromLocal8Bit(snapshot)))
        std::cerr << "could not write the window snapshot\n";
    m_window.done(QDialog::Accepted);
}
