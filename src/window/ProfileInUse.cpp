#include "window/ProfileInUse.h"

#include "config/Texts.h"
#include "platform/Cp1252.h"
#include "platform/ProfileLock.h"
#include "profile/IniFile.h"

namespace {

// For a profile whose text sections are gone and a build without them.
constexpr const char* kLockFailedFallback
    = "The profile %1 cannot be locked; a second run could "
      "overwrite its changes.\nRemove %2 and start Quotino again.";

} // namespace

SProfileInUse ProfileInUseMessage(const std::string& profilePath, const CProfileLock& lock)
{
    CIniFile profile;
    profile.SetAutoReload(false);
    profile.SetAutoSave(false);
    profile.Load(profilePath);
    CTexts texts;
    texts.LoadTexts(profile);
    const std::string file = Utf8ToCp1252(profilePath);
    if (lock.State() != CProfileLock::EState::Failed)
        return { texts.GetText("Txt_Title"),
            CTexts::Fill(texts.GetText("Txt_ProfileInUse"), file, "") };
    std::string text = texts.GetText("Txt_ProfileLockFailed");
    if (text.empty())
        text = kLockFailedFallback;
    return { texts.GetText("Txt_Title"), CTexts::Fill(text, file, Utf8ToCp1252(lock.LockPath())) };
}
