#pragma once

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/Text.h"
#include "support/TestDir.h"

namespace bw::test {

// Makes the entries of a layout under `dir`, ";" between: "a/b=bytes" a file, "a/b/" a folder,
// "a/b@c/d" a symbolic link to c/d, "a/b#c/d" a hard link to c/d, "a/b|fifo" and "a/b|socket".
inline void MakeEntries(TestDir& dir, const std::string& layout) {
    namespace fs = std::filesystem;
    for (const auto& item : Split(layout, ';')) {
        const size_t at = item.find_first_of("=@#|");
        const std::string rel = item.substr(0, at);
        if (at == std::string::npos) {
            dir.createDir(rel);
            continue;
        }
        const std::string arg = item.substr(at + 1), path = dir.host(rel);
        fs::create_directories(fs::path(path).parent_path());
        switch (item[at]) {
            case '=':
                dir.createFile(rel, arg);
                break;
            case '@':
                fs::create_symlink(dir.host(arg), path);
                break;
            case '#':
                fs::create_hard_link(dir.host(arg), path);
                break;
            default:
                if (arg == "fifo") {
                    if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("mkfifo");
                } else {
                    sockaddr_un addr{};
                    addr.sun_family = AF_UNIX;
                    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
                    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
                    const int rc = ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
                    ::close(s);
                    if (rc != 0) throw std::runtime_error("bind");
                }
        }
    }
}

// Every entry under `root`, without following links or opening anything but regular files:
// relative path to "=bytes", "/" (folder), "@target" (link) or "|" (anything else).
inline std::map<std::string, std::string> Snapshot(const std::string& root) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string rel = e.path().lexically_relative(root).string();
        if (e.is_symlink()) {
            out[rel] = "@" + fs::read_symlink(e.path()).string();
        } else if (e.is_directory()) {
            out[rel] = "/";
        } else if (e.is_regular_file()) {
            std::ostringstream bytes;
            bytes << std::ifstream(e.path(), std::ios::binary).rdbuf();
            out[rel] = "=" + bytes.str();
        } else {
            out[rel] = "|";
        }
    }
    return out;
}

}  // namespace bw::test
