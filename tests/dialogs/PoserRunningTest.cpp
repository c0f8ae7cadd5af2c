#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QProcess>
#include <cstring>

#include "browser/Selection.h"
#include "dialogs/PoserRunning.h"
#include "platform/PlatformError.h"
#include "platform/XcbWindowList.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

struct FailingWindows : WindowList {
    std::vector<std::string> Titles() override { throw PlatformError(err::kDeviceIO, "no answer"); }
};

using PoserRunningTest = AppFixture;

TEST_F(PoserRunningTest, NotRunningWithoutAWindowListButRunningWhenTheListFails) {
    EXPECT_FALSE(IsPoserRunning(*app));
    FailingWindows windows;  // unsure: deleting is not safe
    app->windows = &windows;
    EXPECT_TRUE(IsPoserRunning(*app));
}

// A private X server on a free display of its own choosing.
struct Xvfb : QProcess {
    std::string name;
    Xvfb() {
        start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp"});
        if (waitForReadyRead(10000)) name = ":" + readLine().trimmed().toStdString();
    }
    ~Xvfb() {
        terminate();
        waitForFinished();
    }
};

TEST_F(PoserRunningTest, RealDisplayFindsFramedAndHiddenPoserWindows) {
    const std::string oldDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    Xvfb server;
    if (server.name.empty()) GTEST_SKIP() << "Xvfb is not available";
    ::setenv("DISPLAY", server.name.c_str(), 1);
    xcb_connection_t* c = xcb_connect(server.name.c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto atom = [c](const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> r(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
            &std::free);
        return r ? r->atom : xcb_atom_t{0};
    };
    const xcb_atom_t wmState = atom("WM_STATE"), utf8 = atom("UTF8_STRING");
    auto window = [&](xcb_window_t parent, xcb_atom_t property, xcb_atom_t type, std::string text) {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, parent, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, 8, text.size(),
                            text.data());
        return w;
    };
    xcb_map_window(c, window(screen->root, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Terminal"));
    // A window manager's frame holding the client that carries WM_STATE and the title.
    const xcb_window_t frame = window(screen->root, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "frame");
    const xcb_window_t client = window(frame, atom("_NET_WM_NAME"), utf8, "Bj\xc3\xb6rn's Poser 4");
    const uint32_t state[2] = {1, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, client, wmState, wmState, 32, 2, state);
    xcb_map_window(c, client);
    window(screen->root, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Ann's Poser (hidden)");  // unmapped
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));  // all carried out
    auto list = MakeXcbWindowList();
    EXPECT_EQ(list->Titles(), (std::vector<std::string>{"Terminal", "Bj\xc3\xb6rn's Poser 4",
                                                        "Ann's Poser (hidden)"}));
    app->windows = list.get();
    EXPECT_TRUE(IsPoserRunning(*app));
    this->c.createFile("a.cr2");
    SelectThisNode(*app, expandTo("C:\\a.cr2"));
    EXPECT_FALSE(app->commands.IsEnabled("Delete"));  // withdrawn, its tooltip kept
    EXPECT_TRUE(app->commands.IsEnabled("Rename"));
    EXPECT_EQ(app->commands.tooltip["Delete"], "Delete this file.");
    xcb_disconnect(c);
    app->windows = nullptr;
    oldDisplay.empty() ? ::unsetenv("DISPLAY") : ::setenv("DISPLAY", oldDisplay.c_str(), 1);
}

}  // namespace
}  // namespace bw::test
