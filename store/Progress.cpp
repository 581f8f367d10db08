// Progress: forwards an operation's progress to the installed sink about 500 times per run.
#include "store/Progress.h"

#include <algorithm>

namespace {

ProgressSink* installedSink = nullptr;

} // namespace

ProgressSink* Progress::install(ProgressSink* sink) {
    ProgressSink* before = installedSink;
    installedSink = sink;
    return before;
}

Progress::Progress(const std::string& name, long long total_, bool cancellable)
    : sink(installedSink), total(std::max(total_, 1LL)), stride(std::max(total / 500, 1LL)) {
    if (sink) sink->begin(name, cancellable);
    else nextCall = total + 1;   // nothing to ask: report() stays inline
}

Progress::~Progress() {
    if (sink) sink->end();
}

bool Progress::ask(long long done) {
    nextCall = done + stride;
    if (sink && !sink->report(done, total)) stopped = true;
    return !stopped;
}
