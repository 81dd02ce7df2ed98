#pragma once

class CQuotinoApp;
struct SRetryQuestion;
class QWidget;

// The one save of the run, after the main window has closed. A save that fails is never
// dropped in silence: a message box in the user's language names the file and the system's
// reason and offers to try again or to quit without saving.
class CExitSave {
public:
    explicit CExitSave(CQuotinoApp& app, QWidget* parent = nullptr);

    // True when the profile reached the disk; false when the user chose to quit without
    // saving, or when the start already said that this profile is not saved.
    bool Run();

private:
    bool AskRetry(const SRetryQuestion& question);

    CQuotinoApp& m_app;
    QWidget* m_pParent;
};
