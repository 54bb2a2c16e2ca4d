#include "core/base/StopCleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace vra {

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};
// A site or a report set holds about a dozen files at once.
constexpr int kEntries = 32;

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

// Only what a signal handler may call: no allocation, no locks.
void RemoveRegistered() {
    for (Entry& e : g_entries)
        if (e.state.load() == Live && !e.folder) ::unlink(e.path);
    // The folders last: each is empty once its files are gone.
    for (Entry& e : g_entries)
        if (e.state.load() == Live && e.folder) ::rmdir(e.path);
}

void OnStopSignal(int sig) {
    if (g_holds.load() > 0) {
        g_pending.store(sig);
        return;
    }
    RemoveRegistered();
    // The signal is blocked while its handler runs: raised again, it ends the
    // process with the default action as soon as the handler returns.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

void InstallStopCleanup() {
    for (int sig : kStopSignals) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        for (int other : kStopSignals) sigaddset(&action.sa_mask, other);
        // A signal that waits for a hold lets the interrupted write go on.
        action.sa_flags = SA_RESTART;
        ::sigaction(sig, &action, nullptr);
    }
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
