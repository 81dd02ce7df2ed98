#pragma once

#include "platform/ByteSink.h"

#include <functional>
#include <string>
#include <utility>

// The writer an atomic save calls: it puts the whole text into the sink.
inline std::function<bool(CByteSink&)> Writing(std::string text)
{
    return
        [text = std::move(text)](CByteSink& sink) { return sink.Write(text.data(), text.size()); };
}
