#pragma once

#include <string>

// A message that reaches the player outside the window, such as a desktop notification. Texts
// are Windows-1252. Clicking the message brings the window to the front.
class INotifier {
public:
    virtual ~INotifier() = default;
    virtual void Notify(const std::string& title, const std::string& text) = 0;
};
