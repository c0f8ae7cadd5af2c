#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QProcess>
#include <climits>
#include <cstring>

#include "browser/Selection.h"
#include "core/PoserRunning.h"
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

// Each test gets its own X server, DISPLAY pointing at it, and a connection to build windows with.
class XDisplayTest : public AppFixture {
  protected:
    void SetUp() override {
        if (const char* d = std::getenv("DISPLAY")) oldDisplay_ = d;
        if (server_.name.empty()) GTEST_SKIP() << "Xvfb is not available";
        ::setenv("DISPLAY", server_.name.c_str(), 1);
        conn = xcb_connect(server_.name.c_str(), nullptr);
        ASSERT_FALSE(xcb_connection_has_error(conn));
        root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
        wmState = Atom("WM_STATE");
    }
    void TearDown() override {
        app->windows = nullptr;
        if (conn) xcb_disconnect(conn);
        oldDisplay_.empty() ? ::unsetenv("DISPLAY") : ::setenv("DISPLAY", oldDisplay_.c_str(), 1);
    }

    xcb_atom_t Atom(const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> r(
            xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, std::strlen(name), name), nullptr),
            &std::free);
        return r ? r->atom : xcb_atom_t{0};
    }
    // A mapped window under `parent`, titled through WM_NAME when `title` is not empty.
    xcb_window_t Window(xcb_window_t parent, const std::string& title = {}) {
        const xcb_window_t w = xcb_generate_id(conn);
        xcb_create_window(conn, XCB_COPY_FROM_PARENT, w, parent, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, root->root_visual, 0, nullptr);
        if (!title.empty()) SetText(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
        xcb_map_window(conn, w);
        return w;
    }
    void SetText(xcb_window_t w, xcb_atom_t property, xcb_atom_t type, const std::string& text) {
        xcb_change_property(conn, XCB_PROP_MODE_REPLACE, w, property, type, 8, text.size(),
                            text.data());
    }
    // A client as a window manager leaves it: WM_STATE set, inside the frame.
    xcb_window_t Client(xcb_window_t parent, const std::string& title) {
        const xcb_window_t w = Window(parent, title);
        const uint32_t state[2] = {1, 0};
        xcb_change_property(conn, XCB_PROP_MODE_REPLACE, w, wmState, wmState, 32, 2, state);
        return w;
    }
    // A frame with two decoration windows (each with a child of its own) around the client.
    xcb_window_t Framed(const std::string& title) {
        const xcb_window_t frame = Window(root->root, "frame");
        for (int i = 0; i < 2; ++i) Window(Window(frame));
        return Client(frame, title);
    }
    void MarkOwn(xcb_window_t w, uint32_t pid, const std::string& machine) {
        xcb_change_property(conn, XCB_PROP_MODE_REPLACE, w, Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL,
                            32, 1, &pid);
        SetText(w, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, machine);
    }
    // Waits until the server has carried out every request so far.
    void Sync() { std::free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr)); }

    xcb_connection_t* conn = nullptr;
    xcb_screen_t* root = nullptr;
    xcb_atom_t wmState = 0;

  private:
    Xvfb server_;
    std::string oldDisplay_;
};

TEST_F(XDisplayTest, FindsFramedAndHiddenPoserWindows) {
    Window(root->root, "Terminal");
    const xcb_window_t client = Framed("x");
    SetText(client, Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), "Bj\xc3\xb6rn's Poser 4");
    const xcb_window_t hidden = Window(root->root, "Ann's Poser (hidden)");
    xcb_unmap_window(conn, hidden);
    Sync();
    auto list = MakeXcbWindowList();
    EXPECT_EQ(list->Titles(), (std::vector<std::string>{"Terminal", "Bj\xc3\xb6rn's Poser 4",
                                                        "Ann's Poser (hidden)"}));
    app->windows = list.get();
    EXPECT_TRUE(IsPoserRunning(*app));
    c.createFile("a.cr2");
    SelectThisNode(*app, expandTo("C:\\a.cr2"));
    EXPECT_FALSE(app->commands.IsEnabled("Delete"));  // withdrawn, its tooltip kept
    EXPECT_TRUE(app->commands.IsEnabled("Rename"));
    EXPECT_EQ(app->commands.tooltip["Delete"], "Delete this file.");
}

// A busy desktop: hundreds of top-level windows, half of them framed with decorations.
TEST_F(XDisplayTest, FiveHundredWindowsAreReadCorrectlyAndQuickly) {
    std::vector<std::string> expected;
    xcb_window_t poser = 0;
    for (int i = 0; i < 500; ++i) {
        const std::string title = "Window " + std::to_string(i);
        const xcb_window_t w = i % 2 ? Framed(title) : Client(root->root, title);
        if (i == 451) poser = w;
        expected.push_back(title);
    }
    Sync();
    auto list = MakeXcbWindowList();
    app->windows = list.get();
    EXPECT_FALSE(IsPoserRunning(*app));
    SetText(poser, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Jo's Poser");
    Sync();
    expected[451] = "Jo's Poser";
    QElapsedTimer timer;
    timer.start();
    const std::vector<std::string> titles = list->Titles();
    const qint64 ms = timer.elapsed();
    RecordProperty("walk_ms", static_cast<int>(ms));
    EXPECT_EQ(titles, expected);
    // The walk takes a few milliseconds here; the bound only catches one round trip per window.
    EXPECT_LT(ms, 1000) << "walking 500 windows took " << ms << " ms";
    EXPECT_TRUE(IsPoserRunning(*app));
}

TEST_F(XDisplayTest, OurOwnWindowsNeverCount) {
    char host[HOST_NAME_MAX + 1] = {};
    ::gethostname(host, sizeof host - 1);
    const uint32_t pid = static_cast<uint32_t>(::getpid());
    // The caption after selecting a folder named "Jo's Poser stuff", framed and bare.
    MarkOwn(Framed("Brindlewood: C:\\Jo's Poser stuff"), pid, host);
    MarkOwn(Window(root->root, "About Jo's Poser stuff"), pid, "");
    // The same process number on another machine is another program.
    MarkOwn(Window(root->root, "Ann's Poser"), pid, std::string(host) + "-elsewhere");
    MarkOwn(Window(root->root, "Bo's Poser"), pid + 1, host);
    Sync();
    auto list = MakeXcbWindowList();
    EXPECT_EQ(list->Titles(), (std::vector<std::string>{"Ann's Poser", "Bo's Poser"}));
}

// A window manager holding the server: the walk gives up in time and does not call it running.
TEST_F(XDisplayTest, ADesktopThatDoesNotAnswerIsNotTakenForARunningPoser) {
    Window(root->root, "Jo's Poser");
    Sync();
    auto list = MakeXcbWindowList(std::chrono::milliseconds(200));
    app->windows = list.get();
    EXPECT_TRUE(IsPoserRunning(*app));  // connected, and the window is seen
    xcb_grab_server(conn);
    Sync();
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(IsPoserRunning(*app));
    EXPECT_LT(timer.elapsed(), 2000);
    xcb_ungrab_server(conn);
    Sync();
    EXPECT_TRUE(IsPoserRunning(*app));  // a fresh connection afterwards
}

}  // namespace
}  // namespace bw::test
