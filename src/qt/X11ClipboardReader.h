#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

// Reads the X11 clipboard's text from another program through a connection of its own, so that
// no request waits longer than a bound for that program's answer: a hung or stopped owner never
// answers, and the toolkit's own read waits seconds per request. Call it only when another
// program owns the clipboard: this one's answers come from the window's thread, which waits here.
class CX11ClipboardReader {
public:
    explicit CX11ClipboardReader(std::chrono::milliseconds answer)
        : m_answer(answer)
    {
    }

    // The clipboard's text as UTF-8, at most maxBytes of it; empty when it holds no text or no
    // program owns it. nullopt when the owner let a request wait longer than the bound, or the
    // X server cannot be reached.
    std::optional<std::string> Read(std::size_t maxBytes) const;

private:
    std::chrono::milliseconds m_answer;
};
