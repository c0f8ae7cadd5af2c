#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstring>

#include "browser/Selection.h"
#include "dialogs/PoserRunning.h"
#include "platform/PlatformError.h"
#include "platform/XcbWindowList.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class FedWindows : public WindowList {
  public:
    std::vector<std::string> titles;
    bool fail = false;
    std::vector<std::string> Titles() override {
        if (fail) throw PlatformError(err::kDeviceIO, "no answer");
        return titles;
    }
};

using PoserRunningTest = AppFixture;

TEST_F(PoserRunningTest, OnlyTheExactSubstringCountsInAnyWindow) {
    // clang-format off
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{}, false}, {{"Terminal", "Files"}, false}, {{"Fred's Poser 4"}, true},
        {{"Poser 4"}, false}, {{"xxPoser"}, false}, {{"s  Poser"}, false}, {{"S Poser"}, false},
        {{"Fred's POSER"}, false}, {{"Fred's poser"}, false}, {{"Editors Poser scene"}, true},
        {{"s Poser", "", "Other"}, true}, {{"", "Desktop", "Ann's Poser"}, true},
    };
    // clang-format on
    EXPECT_FALSE(IsPoserRunning(*app));  // no window list at all
    FedWindows windows;
    app->windows = &windows;
    for (const auto& [titles, running] : cases) {
        windows.titles = titles;
        desktop.doEventsCalls = 0;
        EXPECT_EQ(IsPoserRunning(*app), running) << (titles.empty() ? "" : titles.back());
        EXPECT_EQ(desktop.doEventsCalls, static_cast<int>(titles.size()));
    }
    windows.fail = true;  // unsure: deleting is not safe
    EXPECT_TRUE(IsPoserRunning(*app));
}

// A private X server for one test that picks its own free display; stopped by its PID.
struct Xvfb {
    pid_t pid = -1;
    std::string name;
    Xvfb() {
        int fds[2];
        if (::access("/usr/bin/Xvfb", X_OK) != 0 || ::pipe(fds) != 0) return;
        const std::string fd = std::to_string(fds[1]);
        if ((pid = ::fork()) == 0) {
            ::dup2(::open("/dev/null", O_WRONLY), 2);
            ::execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", nullptr);
            ::_exit(127);
        }
        ::close(fds[1]);
        pollfd ready{fds[0], POLLIN, 0};
        char number[16] = {};
        if (pid > 0 && ::poll(&ready, 1, 10000) == 1 && ::read(fds[0], number, 15) > 0)
            name = ":" + std::string(number, std::strcspn(number, "\n"));
        ::close(fds[0]);
    }
    ~Xvfb() {
        if (pid > 0 && ::kill(pid, SIGTERM) == 0) ::waitpid(pid, nullptr, 0);
    }
};

TEST_F(PoserRunningTest, RealDisplayFindsFramedAndHiddenPoserWindows) {
    const std::string oldDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    ::unsetenv("DISPLAY");
    EXPECT_TRUE(MakeXcbWindowList()->Titles().empty());
    Xvfb server;
    if (server.name.empty()) GTEST_SKIP() << "Xvfb is not available";
    ::setenv("DISPLAY", server.name.c_str(), 1);
    xcb_connection_t* c = xcb_connect(server.name.c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto atom = [c](const char* name) {
        auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t a = r ? r->atom : 0;
        std::free(r);
        return a;
    };
    auto window = [&](xcb_window_t parent) {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, parent, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        return w;
    };
    const xcb_atom_t wmState = atom("WM_STATE"), netName = atom("_NET_WM_NAME");
    auto title = [&](xcb_window_t w, const std::string& text, bool utf8 = false) {
        xcb_change_property(
            c, XCB_PROP_MODE_REPLACE, w, utf8 ? netName : xcb_atom_t{XCB_ATOM_WM_NAME},
            utf8 ? atom("UTF8_STRING") : xcb_atom_t{XCB_ATOM_STRING}, 8, text.size(), text.data());
    };
    // Waits until the server has carried out all requests, so another client sees them.
    auto sync = [c] { std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); };
    const xcb_window_t plain = window(screen->root);
    xcb_map_window(c, plain);
    title(plain, "Terminal");
    // A window manager's untitled frame holding the client that carries WM_STATE.
    const xcb_window_t frame = window(screen->root), client = window(frame);
    const uint32_t state[2] = {1, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, client, wmState, wmState, 32, 2, state);
    xcb_map_window(c, client);
    title(frame, "frame");
    title(client, "Bj\xc3\xb6rn's Poser 4", true);
    sync();
    auto list = MakeXcbWindowList();
    EXPECT_EQ(list->Titles(), (std::vector<std::string>{"Terminal", "Bj\xc3\xb6rn's Poser 4"}));
    app->windows = list.get();
    EXPECT_TRUE(IsPoserRunning(*app));
    // Selecting a file while Poser runs withdraws Delete.
    this->c.createFile("a.cr2");
    SelectThisNode(*app, expandTo("C:\\a.cr2"));
    EXPECT_FALSE(app->commands.IsEnabled("Delete"));
    EXPECT_FALSE(app->commands.IsEnabled("mnuDeleteNode"));
    title(client, "Image viewer", true);
    const xcb_window_t hidden = window(screen->root);  // never mapped
    title(hidden, "Ann's Poser (hidden)");
    sync();
    EXPECT_TRUE(IsPoserRunning(*app));
    xcb_destroy_window(c, hidden);
    sync();
    EXPECT_FALSE(IsPoserRunning(*app));

    xcb_disconnect(c);
    app->windows = nullptr;
    oldDisplay.empty() ? ::unsetenv("DISPLAY") : ::setenv("DISPLAY", oldDisplay.c_str(), 1);
}

}  // namespace
}  // namespace bw::test
