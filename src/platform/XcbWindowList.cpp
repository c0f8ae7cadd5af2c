#include "platform/XcbWindowList.h"

#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/PlatformError.h"

namespace bw {

namespace {

using Clock = std::chrono::steady_clock;

// Frames of reparenting window managers nest the client at most a few levels down.
constexpr int kMaxFrameDepth = 3;
// Titles longer than this many 32-bit units are cut; nobody reads a 16 KB caption.
constexpr uint32_t kTitleUnits = 4096;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeDeleter>;
using PropertyReply = Reply<xcb_get_property_reply_t>;

PlatformError XError(const char* what) { return PlatformError(err::kDeviceIO, what); }

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

// One top-level window on its way down to the client that carries the title.
struct Walk {
    xcb_window_t top = 0;
    xcb_window_t client = 0;          // 0 until found
    std::vector<xcb_window_t> level;  // the windows looked at in this round
    bool open = true;                 // still looking
};

// Every X request of a round is sent before the first reply is awaited, so a walk over hundreds
// of windows costs a handful of round trips instead of one per request.
class XcbWindowList : public WindowList {
  public:
    explicit XcbWindowList(std::chrono::milliseconds timeout)
        : timeout_(timeout), host_(HostName()) {}
    ~XcbWindowList() override { Disconnect(); }

    std::vector<std::string> Titles() override {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) return {};
        deadline_ = Clock::now() + timeout_;
        timedOut_ = false;
        std::vector<std::string> titles;
        if (!conn_ && !Connect()) return titles;
        try {
            const xcb_setup_t* setup = xcb_get_setup(conn_);
            for (auto it = xcb_setup_roots_iterator(setup); it.rem && !timedOut_;
                 xcb_screen_next(&it)) {
                // query_tree lists the children bottom to top: the stacking order.
                const auto tops = Children({it.data->root});
                std::vector<Walk> walks;
                for (xcb_window_t top : tops[0]) walks.push_back({top, 0, {top}, true});
                FindClients(walks);
                ReadTitles(walks, titles);
            }
        } catch (...) {
            Disconnect();
            throw;
        }
        // Replies still due would answer the next walk's requests: start afresh next time.
        if (timedOut_) Disconnect();
        return titles;
    }

  private:
    // Connects and learns the atoms; false when the server did not answer in time.
    bool Connect() {
        conn_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(conn_)) {
            Disconnect();
            throw XError("Cannot connect to the X display");
        }
        const char* names[] = {"WM_STATE", "_NET_WM_NAME", "UTF8_STRING", "_NET_WM_PID"};
        std::vector<unsigned int> cookies;
        for (const char* name : names)
            cookies.push_back(
                xcb_intern_atom(conn_, 0, static_cast<uint16_t>(std::strlen(name)), name).sequence);
        xcb_atom_t* atoms[] = {&wmState_, &netWmName_, &utf8_, &netWmPid_};
        for (size_t i = 0; i < cookies.size(); ++i) {
            Reply<xcb_intern_atom_reply_t> r(
                static_cast<xcb_intern_atom_reply_t*>(Await(cookies[i])));
            *atoms[i] = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        }
        if (timedOut_) Disconnect();
        return conn_ != nullptr;
    }

    void Disconnect() {
        if (conn_) xcb_disconnect(conn_);
        conn_ = nullptr;
    }

    // Waits for one reply until the walk's deadline. A request the server refused (a window that
    // vanished meanwhile) answers null, and so does every request once the deadline has passed;
    // a lost connection throws.
    void* Await(unsigned int sequence) {
        if (timedOut_) return nullptr;
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
            if (left.count() <= 0) {
                timedOut_ = true;
                return nullptr;
            }
            pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(left.count()));
        }
    }

    unsigned int AskProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                             uint32_t units) {
        return xcb_get_property(conn_, 0, window, property, type, 0, units).sequence;
    }

    PropertyReply AwaitProperty(unsigned int sequence) {
        return PropertyReply(static_cast<xcb_get_property_reply_t*>(Await(sequence)));
    }

    // The children of each window, bottom to top; none for a window that is gone.
    std::vector<std::vector<xcb_window_t>> Children(const std::vector<xcb_window_t>& windows) {
        std::vector<unsigned int> cookies;
        for (xcb_window_t w : windows) cookies.push_back(xcb_query_tree(conn_, w).sequence);
        std::vector<std::vector<xcb_window_t>> result;
        for (unsigned int cookie : cookies) {
            Reply<xcb_query_tree_reply_t> r(static_cast<xcb_query_tree_reply_t*>(Await(cookie)));
            if (!r) {
                result.emplace_back();
                continue;
            }
            xcb_window_t* first = xcb_query_tree_children(r.get());
            result.emplace_back(first, first + xcb_query_tree_children_length(r.get()));
        }
        return result;
    }

    // Finds each walk's client: the top-level window itself when it has WM_STATE, else the
    // shallowest descendant that has it (inside a window manager's frame). A level is searched
    // below only for the walks that found nothing yet, so decorations beside a found client are
    // never entered.
    void FindClients(std::vector<Walk>& walks) {
        for (int depth = 0; depth <= kMaxFrameDepth && !timedOut_; ++depth) {
            std::vector<unsigned int> cookies;
            for (const Walk& w : walks)
                if (w.open)
                    for (xcb_window_t win : w.level)
                        cookies.push_back(AskProperty(win, wmState_, XCB_GET_PROPERTY_TYPE_ANY, 0));
            size_t next = 0;
            for (Walk& w : walks) {
                if (!w.open) continue;
                for (xcb_window_t win : w.level) {
                    PropertyReply r = AwaitProperty(cookies[next++]);
                    if (!w.client && wmState_ != XCB_ATOM_NONE && r && r->type != XCB_ATOM_NONE)
                        w.client = win;
                }
                if (w.client || depth == kMaxFrameDepth) w.open = false;
            }

            std::vector<xcb_window_t> parents;
            for (const Walk& w : walks)
                if (w.open) parents.insert(parents.end(), w.level.begin(), w.level.end());
            if (parents.empty()) return;
            const auto children = Children(parents);
            next = 0;
            for (Walk& w : walks) {
                if (!w.open) continue;
                std::vector<xcb_window_t> below;
                for (size_t i = 0; i < w.level.size(); ++i, ++next)
                    below.insert(below.end(), children[next].begin(), children[next].end());
                w.level = std::move(below);
                w.open = !w.level.empty();
            }
        }
    }

    static std::string Text(const PropertyReply& r) {
        if (!r || r->format != 8) return {};
        const char* data = static_cast<const char*>(xcb_get_property_value(r.get()));
        std::string text(data, static_cast<size_t>(xcb_get_property_value_length(r.get())));
        // A title ends at its first NUL, as a C string would.
        if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
        return text;
    }

    // True when the window belongs to this process: its _NET_WM_PID is ours, on this machine.
    bool IsOwn(const PropertyReply& pid, const PropertyReply& machine) const {
        if (!pid || pid->format != 32 || xcb_get_property_value_length(pid.get()) < 4) return false;
        uint32_t value = 0;
        std::memcpy(&value, xcb_get_property_value(pid.get()), sizeof value);
        if (value != static_cast<uint32_t>(::getpid())) return false;
        const std::string where = Text(machine);
        return where.empty() || where == host_;
    }

    // The title of each walk's client (or of the top-level window when it has none), skipping
    // the windows of this process.
    void ReadTitles(const std::vector<Walk>& walks, std::vector<std::string>& titles) {
        struct Asked {
            unsigned int netName, name, pid, machine;
        };
        std::vector<Asked> asked;
        for (const Walk& w : walks) {
            const xcb_window_t win = w.client ? w.client : w.top;
            asked.push_back(
                {netWmName_ != XCB_ATOM_NONE ? AskProperty(win, netWmName_, utf8_, kTitleUnits) : 0,
                 AskProperty(win, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, kTitleUnits),
                 netWmPid_ != XCB_ATOM_NONE ? AskProperty(win, netWmPid_, XCB_ATOM_CARDINAL, 1) : 0,
                 AskProperty(win, XCB_ATOM_WM_CLIENT_MACHINE, XCB_GET_PROPERTY_TYPE_ANY, 64)});
        }
        for (const Asked& a : asked) {
            const PropertyReply netName = a.netName ? AwaitProperty(a.netName) : nullptr;
            const PropertyReply name = AwaitProperty(a.name);
            const PropertyReply pid = a.pid ? AwaitProperty(a.pid) : nullptr;
            const PropertyReply machine = AwaitProperty(a.machine);
            if (timedOut_) return;
            if (IsOwn(pid, machine)) continue;
            std::string title = Text(netName);
            if (title.empty()) title = Text(name);
            titles.push_back(std::move(title));
        }
    }

    const std::chrono::milliseconds timeout_;
    const std::string host_;
    xcb_connection_t* conn_ = nullptr;
    xcb_atom_t wmState_ = XCB_ATOM_NONE;
    xcb_atom_t netWmName_ = XCB_ATOM_NONE;
    xcb_atom_t utf8_ = XCB_ATOM_NONE;
    xcb_atom_t netWmPid_ = XCB_ATOM_NONE;
    Clock::time_point deadline_{};
    bool timedOut_ = false;
};

}  // namespace

std::unique_ptr<WindowList> MakeXcbWindowList(std::chrono::milliseconds timeout) {
    return std::make_unique<XcbWindowList>(timeout);
}

}  // namespace bw
