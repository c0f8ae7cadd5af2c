#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/AppState.h"
#include "platform/Profile.h"
#include "support/FakeDesktop.h"
#include "support/TestDir.h"

namespace bw::test {

// A temp Wine prefix whose C: is a temp folder, an AppState over it with a FakeDesktop, and a
// settings file in the prefix. C:\ paths in tests are real folders under `c`.
class AppFixture : public ::testing::Test {
  protected:
    AppFixture();

    // Host path of a C: relative path ("Poser4/Runtime").
    std::string onC(const std::string& relative) const { return c.host(relative); }
    // The node with this full path, expanding its ancestors first; null when there is none.
    Node* expandTo(const std::string& fullPath);
    // The child of `parent` with this text, or null.
    static Node* childNamed(Node* parent, const std::string& text);
    // A value in the settings file, or "-" when it is not there.
    std::string Ini(const char* section, const char* key) const {
        return GetPrivateProfileString(section, key, "-", prefix.host("Brindlewood.ini"));
    }

    TestDir prefix;
    TestDir c;
    FakeDesktop desktop;
    std::unique_ptr<AppState> app;
};

}  // namespace bw::test
