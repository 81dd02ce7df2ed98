#include "qt/DropDownList.h"

#include "qt/ScrollingListStyle.h"

#include <QAbstractItemView>

CDropDownList::CDropDownList(QWidget* parent)
    : QComboBox(parent)
{
}

// The style is given when the list first opens: a box whose style changes builds its list
// view at once, which every start would pay for whether the list is ever opened or not.
void CDropDownList::showPopup()
{
    if (!m_bStyled) {
        CScrollingListStyle::ApplyTo(*this);
        // The list was set up for the menu the old style opened, which scrolls without a bar.
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_bStyled = true;
    }
    QComboBox::showPopup();
}
