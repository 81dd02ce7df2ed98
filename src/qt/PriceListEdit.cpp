#include "qt/PriceListEdit.h"

#include "qt/DialogBuilder.h"
#include "qt/QtText.h"
#include "window/PriceLine.h"

#include <QFontInfo>
#include <QMouseEvent>
#include <QTextBlock>

#include <cstdlib>
#include <optional>

CPriceListEdit::CPriceListEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
}

bool CPriceListEdit::FindPriceLine(const QPoint& point, NMPRICELINE& line) const
{
    const QTextBlock block = cursorForPosition(point).block();
    const std::optional<SPriceLine> parts = SPriceLine::Parse(FromQString(block.text()));
    if (!parts)
        return false;

    line.pWindow = const_cast<CPriceListEdit*>(this);
    line.nId = CDialogBuilder::ControlId(this);
    line.nCode = PLN_EDITPRICE;
    line.nLine = block.blockNumber();
    line.nLineStart = block.position();
    line.nValueStart = line.nLineStart + static_cast<int>(parts->valueStart);
    line.font = font();
    line.strName = parts->name;
    line.strValue = parts->value;

    QTextCursor cursor(document());
    cursor.setPosition(line.nValueStart);
    const QPoint topLeft = cursorRect(cursor).topLeft();
    // The position after the value exists even at the very end of the text, so the last
    // value is covered like any other.
    cursor.setPosition(line.nValueStart + static_cast<int>(parts->value.size()));
    const int endX = cursorRect(cursor).left();
    const int height = std::abs(QFontInfo(font()).pixelSize());
    line.rect
        = QRect(QPoint(topLeft.x(), topLeft.y()), QPoint(endX + 10 - 1, topLeft.y() + height - 1))
              .adjusted(-2, -2, 2, 2);
    return true;
}

void CPriceListEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The standard handling first: it must not take the focus from an editor opened below.
    QPlainTextEdit::mouseDoubleClickEvent(event);
    NMPRICELINE line;
    if (FindPriceLine(event->position().toPoint(), line))
        emit EditPrice(line);
}
