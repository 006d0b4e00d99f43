#pragma once

// A folder of its own for each test, removed at the end, and what a user would look at in it.

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

struct ScratchFolder {
    explicit ScratchFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string operator/(const std::string& file) const { return (path / file).string(); }

    // Every name in the folder, hidden ones included, and in its subfolders as "sub/name".
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
            found.insert(entry.path().lexically_relative(path).string());
        return found;
    }

    std::filesystem::path path;
};

// Paths rather than strings, so that on Windows a name outside ASCII reaches the system whole.
inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::filesystem::path& path, const std::string& text, mode_t mode) {
    std::ofstream(path, std::ios::binary) << text;
    std::filesystem::permissions(path, static_cast<std::filesystem::perms>(mode));
}
