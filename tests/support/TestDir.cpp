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
    const char* made = ::mkdtemp(pattern);
    if (!made) throw std::runtime_error("mkdtemp failed");
    root_ = made;
}

TestDir::~TestDir() {
    std::error_code ec;
    // Tests may leave read-only items behind; make them writable so the folder can go.
    for (auto it = fs::recursive_directory_iterator(root_, ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (!it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root_, ec);
}

std::string TestDir::host(const std::string& relative) const {
    return relative.empty() ? root_ : root_ + "/" + relative;
}

std::string TestDir::createFile(const std::string& relative, const std::string& bytes) {
    const std::string p = host(relative);
    fs::create_directories(fs::path(p).parent_path());
    std::ofstream out(p, std::ios::binary);
    out << bytes;
    return p;
}

std::string TestDir::createDir(const std::string& relative) {
    const std::string p = host(relative);
    fs::create_directories(p);
    return p;
}

std::string TestDir::readBytes(const std::string& relative) const {
    std::ifstream in(host(relative), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TestDir::exists(const std::string& relative) const {
    std::error_code ec;
    return fs::symlink_status(host(relative), ec).type() != fs::file_type::not_found;
}

}  // namespace bw::test
