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

bool isStale(const std::string& path, const StaleTemporaries::Owner& owner, long quietSeconds) {
    const bool thisHost = !owner.host.empty() && owner.host == StaleTemporaries::hostName();
    if (owner.host.empty() || thisHost) {
        if (owner.pid == ::getpid()) {
            std::lock_guard<std::mutex> guard(heldLock);
            if (held().count(path)) return false;
        } else if (processRuns(owner.pid)) {
            return false;
        }
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return thisHost || std::time(nullptr) - info.st_mtime >= quietSeconds;
}

std::string readHostName() {
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0) return std::string();
    std::string name(buffer);
    if (name.size() > 64) name.resize(64);
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-';
        if (!plain) c = '_';
    }
    return name;
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

const std::string& StaleTemporaries::hostName() {
    static const std::string name = readHostName();
    return name;
}

StaleTemporaries::Owner StaleTemporaries::ownerParts(const std::string& name) {
    // "." + name + ".vexil-" + [HOST + "-"] + PID + "-" + N + ".tmp"; the host may hold "-",
    // so the numbers are taken from the right.
    static const std::string mark = ".vexil-";
    static const std::string suffix = ".tmp";
    Owner owner;
    if (name.size() < 1 + mark.size() + 3 + suffix.size() || name[0] != '.' ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return owner;
    const std::string::size_type at = name.rfind(mark);
    if (at == std::string::npos || at == 0) return owner;
    const std::string parts = name.substr(at + mark.size(), name.size() - suffix.size() - at - mark.size());
    const std::string::size_type lastDash = parts.rfind('-');
    if (lastDash == std::string::npos || lastDash == 0) return owner;
    const std::string::size_type pidDash = parts.rfind('-', lastDash - 1);
    const std::string::size_type pidStart = pidDash == std::string::npos ? 0 : pidDash + 1;
    const std::string pid = parts.substr(pidStart, lastDash - pidStart);
    if (!allDigits(pid) || !allDigits(parts.substr(lastDash + 1))) return owner;
    if (pidDash != std::string::npos) {
        owner.host = parts.substr(0, pidDash);
        if (owner.host.empty()) return owner;
    }
    owner.pid = std::stol(pid);
    if (owner.pid <= 0) owner = Owner{};
    return owner;
}

int StaleTemporaries::sweep(const std::string& folder, long quietSeconds) {
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!listing) return 0;
    const std::string prefix = folder.empty() ? "" : folder.back() == '/' ? folder : folder + "/";
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        const Owner owner = ownerParts(name);
        if (owner.pid == 0) continue;
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
