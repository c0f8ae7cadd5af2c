#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "browser/Selection.h"
#include "dialogs/PoserRunning.h"
#include "platform/PlatformError.h"
#include "platform/XcbWindowList.h"
#include "support/AppFixture.h"

extern char** environ;

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

class PoserRunningTest : public AppFixture {
  protected:
    FedWindows windows;
};

TEST_F(PoserRunningTest, OnlyTheExactSubstringCounts) {
    struct Case {
        std::vector<std::string> titles;
        bool running;
    };
    const Case cases[] = {
        {{}, false},
        {{"Terminal", "Files"}, false},
        {{"Fred's Poser 4"}, true},
        {{"Poser 4"}, false},  // Poser at the very start
        {{"xxPoser"}, false},  // two other characters before it
        {{"s  Poser"}, false},
        {{"Fred's POSER"}, false},  // letter case matters
        {{"Fred's poser"}, false},
        {{"S Poser"}, false},
        {{"Editors Poser scene"}, true},  // anywhere in the title
        {{"s Poser", "", "Other"}, true},  // no early exit: every window is visited
        {{"", "Desktop", "Ann's Poser"}, true},
    };
    app->windows = &windows;
    for (const Case& cs : cases) {
        windows.titles = cs.titles;
        desktop.doEventsCalls = 0;
        EXPECT_EQ(IsPoserRunning(*app), cs.running)
            << (cs.titles.empty() ? "(none)" : cs.titles.back());
        EXPECT_EQ(desktop.doEventsCalls, static_cast<int>(cs.titles.size()));
    }
}

TEST_F(PoserRunningTest, ErrorsAnswerTrueAndNoListAnswersFalse) {
    EXPECT_FALSE(IsPoserRunning(*app));
    app->windows = &windows;
    windows.fail = true;
    EXPECT_TRUE(IsPoserRunning(*app));
}

TEST(XcbWindowListTest, NoDisplayMeansNoWindows) {
    const char* old = std::getenv("DISPLAY");
    const std::string saved = old ? old : "";
    ::unsetenv("DISPLAY");
    EXPECT_TRUE(MakeXcbWindowList()->Titles().empty());
    if (old) ::setenv("DISPLAY", saved.c_str(), 1);
}

// A private X server for one test, stopped by its PID.
class Xvfb {
  public:
    Xvfb() {
        const char* candidates[] = {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"};
        std::string binary;
        for (const char* c : candidates)
            if (::access(c, X_OK) == 0) binary = c;
        if (binary.empty()) return;
        for (int n = 90; n < 140 && !display_; ++n) {
            if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)) ||
                std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock"))
                continue;
            const std::string name = ":" + std::to_string(n);
            std::vector<std::string> args = {binary,       name,        "-screen", "0",
                                             "800x600x24", "-nolisten", "tcp"};
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
            const int rc =
                posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ);
            posix_spawn_file_actions_destroy(&actions);
            if (rc != 0) return;
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (std::chrono::steady_clock::now() < deadline) {
                if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n))) {
                    display_ = n;
                    name_ = name;
                    break;
                }
                if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                    pid_ = 0;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            if (!display_ && pid_) Stop();
        }
    }
    ~Xvfb() { Stop(); }
    bool running() const { return display_ != 0; }
    const std::string& name() const { return name_; }

  private:
    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = 0;
    }
    pid_t pid_ = 0;
    int display_ = 0;
    std::string name_;
};

xcb_atom_t InternAtom(xcb_connection_t* c, const char* name) {
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    xcb_atom_t a = r ? r->atom : 0;
    std::free(r);
    return a;
}

xcb_window_t MakeWindow(xcb_connection_t* c, xcb_window_t parent, xcb_screen_t* screen) {
    xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, parent, 0, 0, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    return w;
}

// Waits until the server has carried out everything sent so far, so another client sees it.
void Sync(xcb_connection_t* c) {
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

void SetText(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type,
             const std::string& text) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, 8, text.size(), text.data());
}

TEST_F(PoserRunningTest, RealDisplayFindsFramedAndHiddenPoserWindows) {
    Xvfb server;
    if (!server.running()) GTEST_SKIP() << "Xvfb is not available";
    const char* old = std::getenv("DISPLAY");
    const std::string saved = old ? old : "";
    ::setenv("DISPLAY", server.name().c_str(), 1);

    xcb_connection_t* c = xcb_connect(server.name().c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t wmState = InternAtom(c, "WM_STATE");
    const xcb_atom_t netName = InternAtom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = InternAtom(c, "UTF8_STRING");

    // A plain window, mapped, titled the old way.
    xcb_window_t plain = MakeWindow(c, screen->root, screen);
    SetText(c, plain, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Terminal");
    xcb_map_window(c, plain);
    // A window manager's frame (untitled) holding the client that carries WM_STATE and a UTF-8
    // title.
    xcb_window_t frame = MakeWindow(c, screen->root, screen);
    SetText(c, frame, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "frame");
    xcb_window_t client = MakeWindow(c, frame, screen);
    SetText(c, client, netName, utf8, "Bj\xc3\xb6rn's Poser 4");
    const uint32_t state[2] = {1, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, client, wmState, wmState, 32, 2, state);
    xcb_map_window(c, client);
    Sync(c);

    auto list = MakeXcbWindowList();
    std::vector<std::string> titles = list->Titles();
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[0], "Terminal");  // bottom of the stack first
    EXPECT_EQ(titles[1], "Bj\xc3\xb6rn's Poser 4");

    std::unique_ptr<WindowList> owned = std::move(list);
    app->windows = owned.get();
    EXPECT_TRUE(IsPoserRunning(*app));

    // Unmapped (hidden) windows count too; a title no longer matching clears the answer.
    SetText(c, client, netName, utf8, "Image viewer");
    xcb_window_t hidden = MakeWindow(c, screen->root, screen);
    SetText(c, hidden, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Ann's Poser (hidden)");
    Sync(c);
    EXPECT_TRUE(IsPoserRunning(*app));
    xcb_destroy_window(c, hidden);
    Sync(c);
    EXPECT_FALSE(IsPoserRunning(*app));

    // While Poser runs, selecting a file withdraws Delete.
    SetText(c, plain, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Fred's Poser 4 - scene.pz3");
    Sync(c);
    Node* drive = app->tree.AddChild(nullptr);
    drive->SetText("C:");
    drive->SetTag(tag::kDrive);
    Node* file = app->tree.AddChild(drive);
    file->SetText("Figure.cr2");
    file->SetTag(tag::kFile);
    SelectThisNode(*app, file);
    EXPECT_FALSE(app->commands.IsEnabled("Delete"));
    EXPECT_FALSE(app->commands.IsEnabled("mnuDeleteNode"));
    EXPECT_TRUE(app->commands.IsEnabled("Rename"));

    xcb_disconnect(c);
    app->windows = nullptr;
    owned.reset();
    if (old)
        ::setenv("DISPLAY", saved.c_str(), 1);
    else
        ::unsetenv("DISPLAY");
}

}  // namespace
}  // namespace bw::test
