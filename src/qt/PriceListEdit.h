#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <QRect>

#include <string>

// Notification code of a double click on a price in the price list pane.
constexpr unsigned PLN_EDITPRICE = 0x500;

// What a double click on a pane line reports: the line's plant name and value (the text after
// its second tab), and where the value stands.
struct NMPRICELINE {
    QWidget* pWindow = nullptr; // the pane
    int nId = -1; // the pane's control id
    unsigned nCode = PLN_EDITPRICE;
    int nLine = 0;
    int nLineStart = 0; // character index of the line in the whole text
    int nValueStart = 0; // character index of the value in the whole text
    QRect rect; // around the value, in the pane's viewport coordinates
    QFont font; // the pane's font
    std::string strName; // Windows-1252
    std::string strValue;
};

// The read-only price list pane. Lines read name, tab, farm price, tab, market price; a double
// click reports the line under the mouse, so the window can edit its market price in place.
class CPriceListEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CPriceListEdit(QWidget* parent = nullptr);

    // Fills the report for the line at a point of the viewport; false for a line without two
    // tabs.
    bool FindPriceLine(const QPoint& point, NMPRICELINE& line) const;

signals:
    void EditPrice(const NMPRICELINE& line);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
