#pragma once

#include <string>

// A file saved as "Unicode" by a spreadsheet or an editor starts with a UTF-16 byte order
// mark. Converts such text (little or big endian, as the mark says) to UTF-8 in place and
// returns true; any other text is left as it is. An unpaired surrogate becomes U+FFFD, and an
// odd last byte is dropped.
bool ConvertUtf16ToUtf8(std::string& text);
