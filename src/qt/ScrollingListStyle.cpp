#include "qt/ScrollingListStyle.h"

#include <QApplication>
#include <QComboBox>
#include <QStyleFactory>

CScrollingListStyle::CScrollingListStyle(QStyle* base)
    : QProxyStyle(base)
{
}

// A proxy owns its base style, so it wraps an instance of its own of the application's style.
// A style sheet would do the same at a far higher price: every start would load the style
// sheet engine and its parser for this one rule.
void CScrollingListStyle::ApplyTo(QComboBox& box)
{
    auto* style = new CScrollingListStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(&box);
    box.setStyle(style);
}

int CScrollingListStyle::styleHint(StyleHint hint, const QStyleOption* option,
    const QWidget* widget, QStyleHintReturn* returnData) const
{
    if (hint == SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
