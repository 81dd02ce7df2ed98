#pragma once

#include <QLineEdit>

#include <functional>
#include <string>

struct NMPRICELINE;

// The short-lived box over a price in the pane. Return or leaving it hands the trimmed text to
// the commit callback, exactly once; Escape closes it without. It deletes itself when closed.
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    // name and text are Windows-1252.
    using Commit = std::function<void(const std::string& name, const std::string& text)>;

    static constexpr int kControlId = 4711;

    // Opens the box over the value the notification names, with the pane's font and the value
    // as text, and gives it the keyboard focus.
    static CInPlaceEdit* Create(const NMPRICELINE& line, bool selectAll, Commit commit);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CInPlaceEdit(QWidget* parent, std::string name, Commit commit);
    void Close(bool commit);

    bool m_bClosed = false;
    std::string m_strName;
    Commit m_commit;
};
