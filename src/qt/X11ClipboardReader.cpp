#include "qt/X11ClipboardReader.h"

#include "platform/Cp1252.h"

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

struct SFree {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using XcbPtr = std::unique_ptr<T, SFree>;

// One read: a fresh connection and window, so that an answer arriving after the read gave up
// finds no one to deliver to.
class CSelectionRequest {
public:
    CSelectionRequest()
        : m_c(xcb_connect(nullptr, nullptr))
    {
    }
    ~CSelectionRequest() { xcb_disconnect(m_c); }
    CSelectionRequest(const CSelectionRequest&) = delete;
    CSelectionRequest& operator=(const CSelectionRequest&) = delete;

    bool Open()
    {
        if (xcb_connection_has_error(m_c))
            return false;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        if (!screen)
            return false;
        m_window = xcb_generate_id(m_c);
        // Property changes tell when the next piece of an incremental transfer is there.
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
            XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
        const char* names[] = { "CLIPBOARD", "UTF8_STRING", "INCR", "QUOTINO_CLIPBOARD" };
        xcb_intern_atom_cookie_t cookies[4];
        for (int i = 0; i < 4; ++i)
            cookies[i] = xcb_intern_atom(m_c, 0, static_cast<uint16_t>(strlen(names[i])), names[i]);
        xcb_atom_t* atoms[] = { &m_clipboard, &m_utf8, &m_incr, &m_property };
        for (int i = 0; i < 4; ++i) {
            const XcbPtr<xcb_intern_atom_reply_t> reply(
                xcb_intern_atom_reply(m_c, cookies[i], nullptr));
            if (!reply)
                return false;
            *atoms[i] = reply->atom;
        }
        return true;
    }

    // The owner's answer whether it has the text as UTF-8, or else as Latin-1 (programs older
    // than UTF-8 offer only that); false when an answer did not come within the bound.
    bool Convert(std::chrono::milliseconds answer, bool& hasText, bool& latin1)
    {
        latin1 = false;
        if (!Convert(m_utf8, answer, hasText))
            return false;
        if (hasText)
            return true;
        latin1 = true;
        return Convert(XCB_ATOM_STRING, answer, hasText);
    }

    bool Convert(xcb_atom_t target, std::chrono::milliseconds answer, bool& hasText)
    {
        xcb_convert_selection(m_c, m_window, m_clipboard, target, m_property, XCB_CURRENT_TIME);
        xcb_flush(m_c);
        const Clock::time_point deadline = Clock::now() + answer;
        while (const XcbPtr<xcb_generic_event_t> event = WaitEvent(deadline)) {
            if ((event->response_type & 0x7F) != XCB_SELECTION_NOTIFY)
                continue;
            hasText = reinterpret_cast<xcb_selection_notify_event_t*>(event.get())->property
                != XCB_NONE;
            return true;
        }
        return false;
    }

    // The property's type and the bytes it holds, at most maxBytes of them; the property is
    // deleted, which asks an incremental transfer for its next piece.
    std::optional<std::string> TakeProperty(std::size_t maxBytes, xcb_atom_t& type)
    {
        const uint32_t words
            = static_cast<uint32_t>(std::min<std::size_t>(maxBytes / 4 + 1, 1u << 30));
        const XcbPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_c,
            xcb_get_property(m_c, 1, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0, words),
            nullptr));
        if (!reply)
            return std::nullopt;
        type = reply->type;
        const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
        const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
        // A partial read leaves the property in place: delete it for the owner's sake.
        if (reply->bytes_after > 0)
            xcb_delete_property(m_c, m_window, m_property);
        return std::string(data, std::min(length, maxBytes));
    }

    // The next piece of an incremental transfer: false when the owner did not write it within
    // the bound.
    bool WaitForPiece(std::chrono::milliseconds answer)
    {
        xcb_flush(m_c);
        const Clock::time_point deadline = Clock::now() + answer;
        while (const XcbPtr<xcb_generic_event_t> event = WaitEvent(deadline)) {
            const auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event.get());
            if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY && change->atom == m_property
                && change->state == XCB_PROPERTY_NEW_VALUE)
                return true;
        }
        return false;
    }

    xcb_atom_t Incr() const { return m_incr; }

private:
    XcbPtr<xcb_generic_event_t> WaitEvent(Clock::time_point deadline)
    {
        for (;;) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(m_c))
                return XcbPtr<xcb_generic_event_t>(event);
            const auto left
                = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0 || xcb_connection_has_error(m_c))
                return nullptr;
            pollfd fd { xcb_get_file_descriptor(m_c), POLLIN, 0 };
            poll(&fd, 1, static_cast<int>(left));
        }
    }

    xcb_connection_t* m_c;
    xcb_window_t m_window = 0;
    xcb_atom_t m_clipboard = 0;
    xcb_atom_t m_utf8 = 0;
    xcb_atom_t m_incr = 0;
    xcb_atom_t m_property = 0;
};

// The text in the property, at most maxBytes of it. A large text comes in pieces, each one an
// answer of the owner's; an empty piece ends it.
std::optional<std::string> Transfer(
    CSelectionRequest& request, std::size_t maxBytes, std::chrono::milliseconds answer)
{
    xcb_atom_t type = 0;
    std::optional<std::string> text = request.TakeProperty(maxBytes, type);
    if (!text || type != request.Incr())
        return text;
    text->clear();
    while (text->size() < maxBytes) {
        if (!request.WaitForPiece(answer))
            return std::nullopt;
        const std::optional<std::string> piece
            = request.TakeProperty(maxBytes - text->size(), type);
        if (!piece)
            return std::nullopt;
        if (piece->empty())
            break;
        *text += *piece;
    }
    return text;
}

} // namespace

std::optional<std::string> CX11ClipboardReader::Read(std::size_t maxBytes) const
{
    CSelectionRequest request;
    bool hasText = false;
    bool latin1 = false;
    if (!request.Open() || !request.Convert(m_answer, hasText, latin1))
        return std::nullopt;
    if (!hasText)
        return std::string();
    std::optional<std::string> text = Transfer(request, maxBytes, m_answer);
    if (!text || !latin1)
        return text;
    std::string utf8;
    for (const char byte : *text)
        AppendUtf8(utf8, static_cast<unsigned char>(byte));
    return utf8;
}
