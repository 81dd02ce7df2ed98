#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The system clipboard as the shopping-list paste sees it.
class IClipboard {
public:
    // How long a read waits for the program that owns the clipboard to hand its text over: a
    // hung or stopped owner must never hold the window.
    static constexpr int kAnswerMs = 100;
    // A limit that keeps the whole text.
    static constexpr std::size_t kWhole = std::string::npos;

    virtual ~IClipboard() = default;
    // The clipboard's text as Windows-1252, empty when it holds none or cannot be opened. A
    // text longer than limit characters comes back cut after limit + 1 of them: the caller sees
    // that it is too long, and the whole is never converted. nullopt when the clipboard's owner
    // did not hand the text over within kAnswerMs.
    virtual std::optional<std::string> ReadText(std::size_t limit) = 0;
    // Whether the text now on the clipboard was put there by this program (a copy from the
    // report, the pane or any of its edits).
    virtual bool HoldsOwnText() { return false; }

    // How many characters of a text a read with this limit keeps.
    static constexpr std::size_t Kept(std::size_t limit)
    {
        return limit == kWhole ? kWhole : limit + 1;
    }
};
