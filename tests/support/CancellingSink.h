// CancellingSink: a progress sink for tests that answers "stop" at its n-th report (never
// when n is 0) and records what it was told.
#pragma once

#include "store/Progress.h"

#include <string>
#include <vector>

class CancellingSink : public ProgressSink {
public:
    explicit CancellingSink(int stopAt = 0) : stopAt(stopAt) { before = Progress::install(this); }
    ~CancellingSink() override { Progress::install(before); }
    CancellingSink(const CancellingSink&) = delete;
    CancellingSink& operator=(const CancellingSink&) = delete;

    void begin(const std::string& name, bool canStop) override {
        names.push_back(name);
        cancellable = canStop;
        ++open;
    }
    bool report(long long done, long long total) override {
        ++reports;
        lastDone = done;
        lastTotal = total;
        return stopAt == 0 || reports < stopAt;
    }
    void end() override { --open; }

    int stopAt;
    int reports = 0;
    int open = 0;
    long long lastDone = -1, lastTotal = -1;
    bool cancellable = false;
    std::vector<std::string> names;

private:
    ProgressSink* before = nullptr;
};
