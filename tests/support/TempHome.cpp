// TempHome: isolates the program folder of a test.
#include "TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TempHome::TempHome() {
    std::string pattern = (fs::temp_directory_path() / "vexil-test-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    folder = made ? std::string(made) : pattern;
    if (const char* old = std::getenv("VEXIL_HOME")) {
        hadHome = true;
        previousHome = old;
    }
    ::setenv("VEXIL_HOME", folder.c_str(), 1);
}

TempHome::~TempHome() {
    if (hadHome) ::setenv("VEXIL_HOME", previousHome.c_str(), 1);
    else ::unsetenv("VEXIL_HOME");
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder, ec);
}

std::string TempHome::file(const std::string& name) const { return folder + "/" + name; }

std::string TempHome::write(const std::string& name, const std::string& bytes) const {
    std::string path = file(name);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TempHome::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}
