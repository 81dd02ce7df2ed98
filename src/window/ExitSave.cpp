#include "window/ExitSave.h"

#include "app/QuotinoApp.h"
#include "config/Texts.h"
#include "platform/Cp1252.h"
#include "platform/SystemError.h"

namespace {

SRetryQuestion RetryQuestion(CQuotinoApp& app)
{
    // The window may have closed before the texts were loaded (language choice cancelled).
    if (app.GetText("Txt_SaveFailed").empty())
        app.ReloadTexts();
    return { app.GetText("Txt_Title"),
        CTexts::Fill(app.GetText("Txt_SaveFailed"), Utf8ToCp1252(app.ProfileFileName()),
            SystemErrorText(app.LastProfileError())),
        app.GetText("Txt_Retry"), app.GetText("Txt_QuitNoSave") };
}

} // namespace

bool SaveAtExit(CQuotinoApp& app, const std::function<bool(const SRetryQuestion&)>& askRetry)
{
    // A profile that could not be read is never saved over; the user was told at start.
    if (app.KeepsProfileFile())
        return false;
    while (!app.SaveProfile()) {
        // Told once at start that nothing can be saved here; no second message.
        if (app.ProfileProblemShown() || !askRetry(RetryQuestion(app)))
            return false;
    }
    return true;
}

bool SaveAtSessionEnd(CQuotinoApp& app)
{
    return app.SaveChanges();
}
