#pragma once

#include <functional>
#include <string>

class CQuotinoApp;

// What the user is asked when the exit save fails, in the user's language.
struct SRetryQuestion {
    std::string strTitle;
    std::string strText; // names the file and the system's reason
    std::string strRetry;
    std::string strQuit;
};

// The one save of the run, after the main window has closed. A save that fails is never dropped
// in silence: askRetry shows the question and returns true for another try. Returns true when
// the profile reached the disk; false when the user chose to quit without saving, or when the
// start already said that this profile is not saved.
bool SaveAtExit(CQuotinoApp& app, const std::function<bool(const SRetryQuestion&)>& askRetry);

// The desktop session ends, and the process with it, before any exit save: the profile's
// changes are written now. A failure cannot be asked about any more; false then.
bool SaveAtSessionEnd(CQuotinoApp& app);
