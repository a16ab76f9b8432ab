// What the dump tests share: a folder of the test's own for the files they write and the
// commands they run, and reading a file back whole.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace corvelle {

// The whole file; "" when it cannot be read.
inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A fresh folder in the temporary folder, removed with what is in it. Its name is its own,
// so that tests and runs side by side never share it.
struct TemporaryFolder {
    std::string path = [] {
        char name[] = "/tmp/corvelle-test-XXXXXX";
        return std::string(mkdtemp(name) != nullptr ? name : "/nonexistent");
    }();
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path + "/" + name, std::ios::binary) << bytes;
        return path + "/" + name;
    }
    std::string Read(const std::string& name) const { return ReadAll(path + "/" + name); }
    // The exit status of a shell command run in the folder; -1 when it did not exit.
    int Run(const std::string& command) const {
        const int raw = std::system(("cd " + path + " && " + command).c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
};

}  // namespace corvelle
