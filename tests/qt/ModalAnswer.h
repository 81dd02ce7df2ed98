#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>

// Answers the next modal dialog once its exec() has shown it, also over one shown now.
inline void AnswerNextModal(std::function<void(QDialog&)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout,
        [timer, answer = std::move(answer),
            under = QPointer<QWidget>(QApplication::activeModalWidget())] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog && dialog != under) {
                timer->stop();
                timer->deleteLater();
                answer(*dialog);
            }
        });
    timer->start();
}
