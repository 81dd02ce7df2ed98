#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Texts from the profile that carry numbers ("Quotino V%d.%02d"). A downloaded server list can
// rewrite any profile text, so such a text is never used as a printf format: only "%d" and
// "%02d" are filled, with the numbers in order, and "%%" becomes "%"; anything else, and a
// conversion left without a number, stays as it stands.
std::string FormatNumbers(std::string_view text, std::initializer_list<int> numbers);

// Every occurrence of what removed from text.
std::string RemoveAll(std::string text, std::string_view what);

// The two characters backslash and n become a line break.
std::string ExpandLineBreaks(std::string_view text);
