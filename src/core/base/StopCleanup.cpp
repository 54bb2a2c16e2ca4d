#include "core/base/StopCleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace vra {

namespace {

// The signals whose default action ends the process, but for the real-time
// ones, which are added from the system's range.
constexpr int kEndingSignals[] = {SIGTERM,   SIGINT,  SIGHUP,  SIGQUIT, SIGALRM, SIGUSR1,   SIGUSR2, SIGXCPU,
                                  SIGVTALRM, SIGPROF, SIGPIPE, SIGPOLL, SIGPWR,  SIGSTKFLT, SIGXFSZ, SIGSEGV,
                                  SIGBUS,    SIGFPE,  SIGILL,  SIGABRT, SIGTRAP, SIGSYS};
// A site or a report set holds about a dozen files at once, and the folders
// made for them may be many levels deep.
constexpr int kEntries = 64;

enum EntryState : int { Free, Filling, Live };

struct Entry {
    std::atomic<int> state{Free};
    bool folder = false;
    char path[PATH_MAX];
};

static_assert(std::atomic<int>::is_always_lock_free, "the handlers read the registry without locking");

Entry g_entries[kEntries];
std::atomic<int> g_holds{0};
std::atomic<int> g_pending{0};
// What each signal did before: done again once the files are gone.
struct sigaction g_previous[NSIG];

// A fault of the program's own: it is not put off, and when the processor
// raised it, it comes again by itself as soon as the handler returns.
bool IsFault(int sig) {
    return sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL || sig == SIGABRT || sig == SIGTRAP ||
           sig == SIGSYS;
}

bool ComesAgainOnReturn(int sig, const siginfo_t* info) {
    return (sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL) && info && info->si_code > 0;
}

// Only what a signal handler may call: no allocation, no locks.
void RemoveRegistered() {
    for (Entry& e : g_entries)
        if (e.state.load() == Live && !e.folder) ::unlink(e.path);
    // The folders last, each once it is empty: a pass takes away the deepest
    // ones, the next their parents.
    for (bool removed = true; removed;) {
        removed = false;
        for (Entry& e : g_entries) {
            if (e.state.load() != Live || !e.folder || ::rmdir(e.path) != 0) continue;
            e.state.store(Free);
            removed = true;
        }
    }
}

void OnStopSignal(int sig, siginfo_t* info, void*) {
    if (!IsFault(sig) && g_holds.load() > 0) {
        g_pending.store(sig);
        return;
    }
    RemoveRegistered();
    ::sigaction(sig, &g_previous[sig], nullptr);
    if (ComesAgainOnReturn(sig, info)) return;
    // The signal is blocked while its handler runs: raised again, it takes
    // its former course (the default: ending the process) as soon as the
    // handler returns.
    ::raise(sig);
}

template <typename Each>
void ForEachEndingSignal(Each each) {
    for (int sig : kEndingSignals) each(sig);
    for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) each(sig);
}

}  // namespace

void InstallStopCleanup() {
    struct sigaction action {};
    action.sa_sigaction = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ForEachEndingSignal([&](int sig) { sigaddset(&action.sa_mask, sig); });
    // A signal that waits for a hold lets the interrupted write go on.
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    ForEachEndingSignal([&](int sig) {
        struct sigaction old {};
        if (sig >= NSIG || ::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) return;
        // Installed twice, the handler still ends in what was there first.
        if ((old.sa_flags & SA_SIGINFO) && old.sa_sigaction == OnStopSignal) return;
        g_previous[sig] = old;
        ::sigaction(sig, &action, nullptr);
    });
}

int RegisterStopCleanup(const std::filesystem::path& path, bool folder) {
    const std::string& name = path.native();
    if (name.empty() || name.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kEntries; ++i) {
        int expected = Free;
        if (!g_entries[i].state.compare_exchange_strong(expected, Filling)) continue;
        std::memcpy(g_entries[i].path, name.c_str(), name.size() + 1);
        g_entries[i].folder = folder;
        g_entries[i].state.store(Live);
        return i;
    }
    return -1;
}

void UnregisterStopCleanup(int& entry) {
    if (entry >= 0 && entry < kEntries) g_entries[entry].state.store(Free);
    entry = -1;
}

StopSignalHold::StopSignalHold() {
    g_holds.fetch_add(1);
}

StopSignalHold::~StopSignalHold() {
    if (g_holds.fetch_sub(1) == 1)
        if (const int sig = g_pending.exchange(0)) std::raise(sig);
}

}  // namespace vra
