#pragma once

#include "platform/UserInterface.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// The user as a test presets them: the answer to the language question, and a record of what
// the core showed them.
class CFakeUserInterface : public IUserInterface {
public:
    explicit CFakeUserInterface(std::string language = {})
        : m_strLanguage(std::move(language))
    {
    }

    // The language chosen; empty, or m_bAccept false, closes the question without a choice.
    std::string m_strLanguage;
    bool m_bAccept = true;
    // Runs when the question shows, after it was recorded; may change the answer.
    std::function<void()> m_fnOnChoose;

    std::vector<std::vector<std::string>> m_offers; // the names of every language question
    std::string m_strPreselected; // of the last question
    std::vector<std::pair<int, int>> m_notices; // new versions announced
    std::vector<std::string> m_messages;
    int m_nWaitDepth = 0;
    int m_nWaitDepthAtChoice = 0;

    bool ChooseLanguage(const std::vector<std::string>& languages, std::string& chosen) override
    {
        m_offers.push_back(languages);
        m_strPreselected = chosen;
        m_nWaitDepthAtChoice = m_nWaitDepth;
        if (m_fnOnChoose)
            m_fnOnChoose();
        chosen = m_strLanguage;
        return m_bAccept && !chosen.empty();
    }
    void ShowUpdateNotice(int major, int minor) override { m_notices.emplace_back(major, minor); }
    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
    void BeginWaitCursor() override { ++m_nWaitDepth; }
    void EndWaitCursor() override { --m_nWaitDepth; }
};
