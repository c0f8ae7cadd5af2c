#include "platform/XcbWindowList.h"

#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/PlatformError.h"

namespace bw {

namespace {

using Clock = std::chrono::steady_clock;

// A window manager that grabs the server can hold every reply back; the whole walk gets this long.
constexpr auto kWalkTimeout = std::chrono::seconds(2);
// Frames of reparenting window managers nest the client at most a few levels down.
constexpr int kMaxFrameDepth = 3;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeDeleter>;

PlatformError XError(const char* what) { return PlatformError(err::kDeviceIO, what); }

class XcbWindowList : public WindowList {
  public:
    ~XcbWindowList() override { Disconnect(); }

    std::vector<std::string> Titles() override {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) return {};
        if (!conn_) Connect();
        deadline_ = Clock::now() + kWalkTimeout;
        try {
            std::vector<std::string> titles;
            const xcb_setup_t* setup = xcb_get_setup(conn_);
            for (auto it = xcb_setup_roots_iterator(setup); it.rem; xcb_screen_next(&it)) {
                // query_tree lists the children bottom to top: the stacking order.
                for (xcb_window_t top : Children(it.data->root)) {
                    xcb_window_t client = FindClient(top, 0);
                    titles.push_back(Title(client ? client : top));
                }
            }
            return titles;
        } catch (...) {
            // Replies may still be due on this connection; start afresh next time.
            Disconnect();
            throw;
        }
    }

  private:
    void Connect() {
        conn_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(conn_)) {
            Disconnect();
            throw XError("Cannot connect to the X display");
        }
        wmState_ = Atom("WM_STATE");
        netWmName_ = Atom("_NET_WM_NAME");
        utf8_ = Atom("UTF8_STRING");
    }

    void Disconnect() {
        if (conn_) xcb_disconnect(conn_);
        conn_ = nullptr;
    }

    // Waits for one reply until the walk's deadline. A request the server refused (a window that
    // vanished meanwhile) answers null; a lost connection or the deadline throws.
    void* Await(unsigned int sequence) {
        xcb_flush(conn_);
        for (;;) {
            void* reply = nullptr;
            xcb_generic_error_t* error = nullptr;
            if (xcb_poll_for_reply(conn_, sequence, &reply, &error)) {
                std::free(error);
                return reply;
            }
            if (xcb_connection_has_error(conn_)) throw XError("The X connection was lost");
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
            if (left.count() <= 0) throw XError("The X server did not answer in time");
            pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(left.count()));
        }
    }

    xcb_atom_t Atom(const char* name) {
        deadline_ = Clock::now() + kWalkTimeout;
        auto cookie = xcb_intern_atom(conn_, 0, static_cast<uint16_t>(std::strlen(name)), name);
        Reply<xcb_intern_atom_reply_t> r(
            static_cast<xcb_intern_atom_reply_t*>(Await(cookie.sequence)));
        return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    std::vector<xcb_window_t> Children(xcb_window_t window) {
        auto cookie = xcb_query_tree(conn_, window);
        Reply<xcb_query_tree_reply_t> r(
            static_cast<xcb_query_tree_reply_t*>(Await(cookie.sequence)));
        if (!r) return {};
        xcb_window_t* first = xcb_query_tree_children(r.get());
        return {first, first + xcb_query_tree_children_length(r.get())};
    }

    Reply<xcb_get_property_reply_t> Property(xcb_window_t window, xcb_atom_t property,
                                             xcb_atom_t type) {
        if (property == XCB_ATOM_NONE) return nullptr;
        auto cookie = xcb_get_property(conn_, 0, window, property, type, 0, 4096);
        return Reply<xcb_get_property_reply_t>(
            static_cast<xcb_get_property_reply_t*>(Await(cookie.sequence)));
    }

    bool HasWmState(xcb_window_t window) {
        auto r = Property(window, wmState_, XCB_GET_PROPERTY_TYPE_ANY);
        return r && r->type != XCB_ATOM_NONE;
    }

    // The client window that carries the title: the window itself when it has WM_STATE, else the
    // first descendant that has it (inside a window manager's frame); 0 when there is none.
    xcb_window_t FindClient(xcb_window_t window, int depth) {
        if (HasWmState(window)) return window;
        if (depth >= kMaxFrameDepth) return 0;
        for (xcb_window_t child : Children(window))
            if (xcb_window_t found = FindClient(child, depth + 1)) return found;
        return 0;
    }

    std::string Text(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
        auto r = Property(window, property, type);
        if (!r || r->format != 8) return {};
        const char* data = static_cast<const char*>(xcb_get_property_value(r.get()));
        std::string text(data, static_cast<size_t>(xcb_get_property_value_length(r.get())));
        // A title ends at its first NUL, as a C string would.
        if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
        return text;
    }

    std::string Title(xcb_window_t window) {
        std::string title = Text(window, netWmName_, utf8_);
        if (title.empty()) title = Text(window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY);
        return title;
    }

    xcb_connection_t* conn_ = nullptr;
    xcb_atom_t wmState_ = XCB_ATOM_NONE;
    xcb_atom_t netWmName_ = XCB_ATOM_NONE;
    xcb_atom_t utf8_ = XCB_ATOM_NONE;
    Clock::time_point deadline_{};
};

}  // namespace

std::unique_ptr<WindowList> MakeXcbWindowList() { return std::make_unique<XcbWindowList>(); }

}  // namespace bw
