#pragma once

#include <QObject>
#include <QPointer>

class CQuotinoApp;
class QDialog;
class QSocketNotifier;

// The end of the desktop session ends the run the normal way. SIGTERM (a logout), SIGHUP (the
// terminal went away) and SIGINT (Ctrl+C) answer any open question with Cancel and close the
// window as its title bar's close button does: transfers stop and the exit save follows. The
// session manager's requests to save write the profile's changes. A signal that the program
// was started to ignore (nohup) stays ignored.
class CSessionEnd : public QObject {
    Q_OBJECT
public:
    explicit CSessionEnd(CQuotinoApp& app);
    // The signals end the process again, as by default: nothing is left to save.
    ~CSessionEnd() override;

    // The window a signal closes; before it runs, a signal only marks the end as requested.
    void Watch(QDialog& window) { m_pWindow = &window; }
    bool EndRequested() const { return m_bEndRequested; }

private:
    void OnSignal();
    void CloseQuestions();

    CQuotinoApp& m_app;
    QPointer<QDialog> m_pWindow;
    QSocketNotifier* m_pNotifier = nullptr;
    bool m_bEndRequested = false;
};
