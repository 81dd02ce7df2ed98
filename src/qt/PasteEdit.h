#pragma once

#include <QPlainTextEdit>

#include <functional>

// The shopping-list input. Every way of pasting (keyboard, context menu, middle click) hands
// over to the window, which reads the clipboard itself and replaces the whole text; the
// standard insertion at the caret never happens while a handler is set.
class CPasteEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using PasteHandler = std::function<void()>;

    explicit CPasteEdit(QWidget* parent = nullptr);

    void SetPasteHandler(PasteHandler handler) { m_paste = std::move(handler); }

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void dragEnterEvent(QDragEnterEvent* event) override;

private:
    PasteHandler m_paste;
};
