// A fresh temporary folder set as VEXIL_HOME for the lifetime of the object.
#pragma once

#include <string>

class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const { return folder; }
    // path() + "/" + name
    std::string file(const std::string& name) const;
    // Writes bytes to file(name) and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    // Reads a whole file ("" when missing).
    static std::string read(const std::string& path);

private:
    std::string folder;
    std::string previousHome;
    bool hadHome = false;
};
