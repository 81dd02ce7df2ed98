#pragma once

#include <QLabel>
#include <QUrl>

#include <functional>
#include <string_view>

// A static text that acts as a web link: underlined text in the theme's link colour, the hand
// cursor over the text (not over the rest of the control), a click on the text opens the address.
class CHyperLink : public QLabel {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    explicit CHyperLink(QWidget* parent = nullptr);

    void SetLinkText(std::string_view text);
    void SetLinkUrl(std::string_view url);
    QUrl LinkUrl() const { return m_url; }
    // Tests watch the opener instead of starting a browser.
    void SetUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }
    // Only the rectangle of the drawn text counts, in this control's coordinates.
    bool HitTest(const QPoint& point) const;

    // Hands the address to the desktop where a link may open it (IsWebAddress).
    static void OpenWebLink(const QUrl& url);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QFont LinkFont() const;

    QUrl m_url;
    UrlOpener m_opener = &CHyperLink::OpenWebLink;
    bool m_bTracking = false;
};
