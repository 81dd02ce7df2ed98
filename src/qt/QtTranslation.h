#pragma once

#include <cstddef>
#include <memory>
#include <string>

class QTranslator;

// Qt's own texts (the file dialog, the edits' context menus) in the chosen language, from the
// translations installed with Qt (qtbase_<code>.qm).
class CQtTranslation {
public:
    // Longer codes are no language code of Qt's.
    static constexpr std::size_t kMaxCodeLength = 16;

    CQtTranslation();
    ~CQtTranslation();
    CQtTranslation(const CQtTranslation&) = delete;
    CQtTranslation& operator=(const CQtTranslation&) = delete;

    // Replaces the previous language by the one of code ("de", "pt_BR"). Without a file for
    // it, or for a code that is no file-name part (the profile may come from a server list),
    // Qt speaks English.
    void Load(const std::string& code);

private:
    void Remove();

    std::unique_ptr<QTranslator> m_pTranslator;
};
