#pragma once

#include <string>

namespace bw::test {

// A temporary folder tree, removed when the object goes.
class TestDir {
  public:
    TestDir();
    ~TestDir();
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    const std::string& path() const { return root_; }
    // Host path of a relative path ("a/b.txt").
    std::string host(const std::string& relative) const;
    // Creates a file (and its folders) with the given bytes; returns its host path.
    std::string createFile(const std::string& relative, const std::string& bytes = "");
    std::string createDir(const std::string& relative);
    std::string readBytes(const std::string& relative) const;
    bool exists(const std::string& relative) const;

  private:
    std::string root_;
};

}  // namespace bw::test
