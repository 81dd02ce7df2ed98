#pragma once

#include <functional>
#include <string>

class INotifier;

// What the main window needs from the desktop around it rather than from its own controls: the
// way back onto its thread, messages outside the window, the file dialogs, the toolkit's
// language and how the clipboard is heard.
//
// Threads: Post may be called from any thread. Every other member of this port, and of the
// window's views (IMainWindowView, IWindowView), only on the window's thread, which is where
// the window's behaviour runs.
class IDesktop {
public:
    virtual ~IDesktop() = default;

    // Runs task on the window's thread after the current event; a task posted once the window
    // has gone is dropped.
    virtual void Post(std::function<void()> task) = 0;
    // Where messages to the player go while the window is in the background.
    virtual INotifier& Notifier() = 0;
    // The file dialog for a price list to import: title and filter name are texts, folder and
    // the answer paths in UTF-8; an empty folder leaves the start to the desktop (the user's
    // documents or home), an empty answer means that the user cancelled.
    virtual std::string ChooseImportFile(
        const std::string& title, const std::string& filterName, const std::string& folder)
        = 0;
    // The file dialog for a price list to export: title and filter name are texts, the
    // suggested file name and the answer path UTF-8; the dialog opens in the user's documents
    // folder. An empty answer means that the user cancelled.
    virtual std::string ChooseExportFile(
        const std::string& title, const std::string& filterName, const std::string& suggestedName)
        = 0;
    // The toolkit's own texts (standard buttons, file dialogs) in the language of this code
    // ("de", "en", ...).
    virtual void UseLanguage(const std::string& code) = 0;
    // Whether the window hears clipboard changes and may read the clipboard while another
    // program has the focus.
    virtual bool HearsClipboardInBackground() const = 0;
};
