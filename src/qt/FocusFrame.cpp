#include "qt/FocusFrame.h"

#include <QEvent>
#include <QFocusFrame>
#include <QPalette>
#include <QWidget>

CFocusFrame* CFocusFrame::Attach(QWidget& control)
{
    return new CFocusFrame(control);
}

CFocusFrame::CFocusFrame(QWidget& control)
    : QObject(&control)
    , m_control(control)
{
    control.installEventFilter(this);
    Show(control.hasFocus());
}

bool CFocusFrame::IsShown() const
{
    return m_pFrame && m_pFrame->isVisible();
}

bool CFocusFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_control) {
        if (event->type() == QEvent::FocusIn)
            Show(true);
        else if (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide)
            Show(false);
    }
    return QObject::eventFilter(watched, event);
}

void CFocusFrame::Show(bool show)
{
    if (!show) {
        if (m_pFrame)
            m_pFrame->setWidget(nullptr);
        return;
    }
    if (!m_pFrame) {
        // Drawn in the theme's highlight colour, so it reads on light and dark themes alike.
        m_pFrame = new QFocusFrame(m_control.parentWidget());
        QPalette palette = m_pFrame->palette();
        palette.setColor(QPalette::WindowText, m_control.palette().color(QPalette::Highlight));
        m_pFrame->setPalette(palette);
    }
    m_pFrame->setWidget(&m_control);
    m_pFrame->show();
}
