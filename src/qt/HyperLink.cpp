#include "qt/HyperLink.h"

#include "platform/WebAddress.h"
#include "qt/QtText.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

CHyperLink::CHyperLink(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
}

void CHyperLink::SetLinkText(std::string_view text)
{
    setText(ToQString(text));
}

void CHyperLink::SetLinkUrl(std::string_view url)
{
    m_url = QUrl(ToQString(url));
}

QFont CHyperLink::LinkFont() const
{
    QFont font = this->font();
    font.setUnderline(true);
    return font;
}

bool CHyperLink::HitTest(const QPoint& point) const
{
    const QFontMetrics metrics(LinkFont());
    const QRect textRect(0, 0, metrics.horizontalAdvance(text()), metrics.height());
    return textRect.contains(point);
}

void CHyperLink::OpenWebLink(const QUrl& url)
{
    if (IsWebAddress(url.toString(QUrl::FullyEncoded).toStdString()))
        QDesktopServices::openUrl(url);
}

void CHyperLink::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(LinkFont());
    // The theme's link colour: a fixed blue is hard to read on a dark theme.
    painter.setPen(palette().color(QPalette::Link));
    painter.drawText(QPoint(0, painter.fontMetrics().ascent()), text());
}

void CHyperLink::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && HitTest(event->position().toPoint()) && m_opener)
        m_opener(m_url);
    QLabel::mousePressEvent(event);
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event)
{
    // The first move only starts watching for the mouse leaving; the cursor follows from the
    // next move on.
    if (!m_bTracking)
        m_bTracking = true;
    else
        setCursor(HitTest(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QLabel::mouseMoveEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event)
{
    m_bTracking = false;
    setCursor(Qt::ArrowCursor);
    QLabel::leaveEvent(event);
}
