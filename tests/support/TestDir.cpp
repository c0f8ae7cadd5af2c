#include "support/TestDir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace bw::test {

namespace fs = std::filesystem;

TestDir::TestDir() {
    char pattern[] = "/tmp/bw-test-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
}

TestDir::~TestDir() {
    std::error_code ec;
    // Tests may leave read-only items behind; make them writable so the folder can go.
    for (auto it = fs::recursive_directory_iterator(root_, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec))
        if (!it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
}

std::string TestDir::host(const std::string& relative) const {
    return relative.empty() ? root_ : root_ + "/" + relative;
}

std::string TestDir::createFile(const std::string& relative, const std::string& bytes) {
    fs::create_directories(fs::path(host(relative)).parent_path());
    std::ofstream(host(relative), std::ios::binary) << bytes;
    return host(relative);
}

std::string TestDir::createDir(const std::string& relative) {
    fs::create_directories(host(relative));
    return host(relative);
}

std::string TestDir::readBytes(const std::string& relative) const {
    std::ostringstream ss;
    ss << std::ifstream(host(relative), std::ios::binary).rdbuf();
    return ss.str();
}

bool TestDir::exists(const std::string& relative) const {
    std::error_code ec;
    return fs::symlink_status(host(relative), ec).type() != fs::file_type::not_found;
}

}  // namespace bw::test
