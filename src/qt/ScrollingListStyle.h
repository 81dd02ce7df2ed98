#pragma once

#include <QProxyStyle>

class QComboBox;

// The application's style, except that a drop-down list always opens as a scrolling list that
// honours the box's row limit: some themes open it as a menu of every entry instead, taller
// than the screen for seventy servers.
class CScrollingListStyle : public QProxyStyle {
public:
    // Gives box a style of its own, owned by the box.
    static void ApplyTo(QComboBox& box);

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override;

private:
    explicit CScrollingListStyle(QStyle* base);
};
