// ProgramFolder: resolves the folder the program keeps its own files in.
#include "platform/core/ProgramFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool isWritableFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK) == 0;
}

// An installed program (under /usr or /opt) keeps its files per user even when it runs as
// root and could write beside itself; only a copy elsewhere is treated as portable.
bool isSystemFolder(const fs::path& folder) {
    const std::string text = folder.string();
    return text.rfind("/usr/", 0) == 0 || text.rfind("/opt/", 0) == 0 || text == "/usr" ||
           text == "/bin" || text == "/sbin";
}

std::string perUserFolder() {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) base = fs::path(home) / ".config";
    else base = fs::temp_directory_path();
    fs::path folder = base / "vexil";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder.string();
}

} // namespace

std::string ProgramFolder::executablePath() {
#ifdef _WIN32
    return {};
#else
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
#endif
}

std::string ProgramFolder::path() {
    if (const char* home = std::getenv("VEXIL_HOME"); home && *home) {
        std::error_code ec;
        fs::create_directories(home, ec);
        std::string folder = home;
        while (folder.size() > 1 && folder.back() == separator()) folder.pop_back();
        return folder;
    }
    std::string exe = executablePath();
    if (!exe.empty()) {
        fs::path folder = fs::path(exe).parent_path();
        if (isWritableFolder(folder) && !isSystemFolder(folder)) return folder.string();
    }
    return perUserFolder();
}

char ProgramFolder::separator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}
