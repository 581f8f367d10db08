// StaleTemporaries: sweeping the temporary files of saves that never finished.
#include "platform/core/StaleTemporaries.h"

#include "platform/core/FileHook.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex heldLock;
std::set<std::string>& held() {
    static std::set<std::string> names;
    return names;
}

bool allDigits(const std::string& text) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool processRuns(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

bool isStale(const std::string& path, long owner, long quietSeconds) {
    if (owner == ::getpid()) {
        std::lock_guard<std::mutex> guard(heldLock);
        if (held().count(path)) return false;
    } else if (processRuns(owner)) {
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return std::time(nullptr) - info.st_mtime >= quietSeconds;
}

} // namespace

void StaleTemporaries::hold(const std::string& path) {
    std::lock_guard<std::mutex> guard(heldLock);
    held().insert(path);
}

void StaleTemporaries::release(const std::string& path) {
    std::lock_guard<std::mutex> guard(heldLock);
    held().erase(path);
}

long StaleTemporaries::ownerOf(const std::string& name) {
    // "." + name + ".vexil-" + PID + "-" + N + ".tmp"
    static const std::string mark = ".vexil-";
    static const std::string suffix = ".tmp";
    if (name.size() < 1 + mark.size() + 3 + suffix.size() || name[0] != '.' ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return 0;
    const std::string::size_type at = name.rfind(mark);
    if (at == std::string::npos || at == 0) return 0;
    const std::string numbers = name.substr(at + mark.size(), name.size() - suffix.size() - at - mark.size());
    const std::string::size_type dash = numbers.find('-');
    if (dash == std::string::npos) return 0;
    const std::string pid = numbers.substr(0, dash);
    if (!allDigits(pid) || !allDigits(numbers.substr(dash + 1))) return 0;
    const long owner = std::stol(pid);
    return owner > 0 ? owner : 0;
}

int StaleTemporaries::sweep(const std::string& folder, long quietSeconds) {
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!listing) return 0;
    const std::string prefix = folder.empty() ? "" : folder.back() == '/' ? folder : folder + "/";
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        const long owner = ownerOf(name);
        if (owner == 0) continue;
        const std::string path = prefix + name;
        if (isStale(path, owner, quietSeconds) && FileHook::remove(path.c_str()) == 0) ++removed;
    }
    ::closedir(listing);
    return removed;
}

int StaleTemporaries::sweepFolderOf(const std::string& path, long quietSeconds) {
    const std::string::size_type slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return sweep(folder, quietSeconds);
}
