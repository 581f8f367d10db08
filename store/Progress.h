// Progress: how a long operation tells how far it got and learns whether to stop.
#pragma once

#include <string>

// The window installs a sink that shows a dialog after a moment and returns false from
// report() once the user asked to stop; without a sink (tests, the command line) operations
// run to the end. A Progress lives for one operation; report() is cheap between the
// sink's calls, so loops may call it for every row.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // `cancellable` false: the operation cannot stop halfway, the sink offers no cancel.
    virtual void begin(const std::string& name, bool cancellable) = 0;
    // `done` of `total` units; false: stop.
    virtual bool report(long long done, long long total) = 0;
    virtual void end() = 0;
};

class Progress {
public:
    Progress(const std::string& name, long long total, bool cancellable = true);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // True while the operation should go on; false once the user asked to stop.
    bool report(long long done) {
        if (done < nextCall || stopped) return !stopped;
        return ask(done);
    }
    bool cancelled() const { return stopped; }

    // The sink every Progress reports to (null: none); returns the one it replaces.
    static ProgressSink* install(ProgressSink* sink);

private:
    bool ask(long long done);

    ProgressSink* sink;
    long long total;
    long long nextCall = 0;
    long long stride;
    bool stopped = false;
};
