// The yardstick for the program's start-up: one empty dialog, shown once. Once its first paint
// is done it prints the wall clock ("shown <microseconds since the epoch>") and quits, as the
// program does after its first report when measured.
#include <QApplication>
#include <QDialog>
#include <QEvent>

#include <chrono>
#include <iostream>

namespace {

class CFirstPaintExit : public QObject {
public:
    explicit CFirstPaintExit(QDialog& dialog)
        : QObject(&dialog)
        , m_dialog(dialog)
    {
        dialog.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_bShown && event->type() == QEvent::Paint) {
            m_bShown = true;
            QMetaObject::invokeMethod(this, &CFirstPaintExit::Exit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Exit()
    {
        using namespace std::chrono;
        const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
        std::cout << "shown " << now.count() << std::endl;
        m_dialog.done(QDialog::Accepted);
    }

    QDialog& m_dialog;
    bool m_bShown = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    new CFirstPaintExit(dialog);
    dialog.exec();
    return 0;
}
