#include "cli/ExportFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace corvelle_dump {

namespace fs = std::filesystem;

bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(fs::path(a), fs::path(b), error) && !error;
}

bool WriteBytes(const std::string& path, const void* bytes, size_t size, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    bool written = std::fwrite(bytes, 1, size, file) == size;
    if (!written) error = std::strerror(errno);
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = std::strerror(errno);
    }
    return written;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error) {
    std::error_code code;
    if (fs::is_directory(fs::path(path), code)) {
        error = "is a folder";
        return false;
    }
    // Beside the target, so that the rename stays on one file system.
    std::string temporary;
    for (unsigned attempt = 0;; ++attempt) {
        temporary = path + ".corvelle-" + std::to_string(attempt) + ".part";
        if (!fs::exists(fs::path(temporary), code)) break;
        if (attempt == 99) {
            error = "no free name for a temporary file beside it";
            return false;
        }
    }
    if (!WriteBytes(temporary, bytes.data(), bytes.size(), error)) {
        fs::remove(fs::path(temporary), code);
        return false;
    }
    fs::rename(fs::path(temporary), fs::path(path), code);
    if (code) {
        error = code.message();
        fs::remove(fs::path(temporary), code);
        return false;
    }
    return true;
}

}  // namespace corvelle_dump
