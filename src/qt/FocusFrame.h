#pragma once

#include <QObject>
#include <QPointer>

class QFocusFrame;
class QWidget;

// Draws a frame around a control while it has the keyboard focus. The read-only report and
// price list pane show no text cursor, so without it a keyboard user cannot see where the
// focus is.
class CFocusFrame : public QObject {
    Q_OBJECT
public:
    // The frame belongs to the control and goes with it.
    static CFocusFrame* Attach(QWidget& control);

    // Shown while the control has the focus, hidden otherwise.
    bool IsShown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CFocusFrame(QWidget& control);
    void Show(bool show);

    QWidget& m_control;
    QPointer<QFocusFrame> m_pFrame;
};
