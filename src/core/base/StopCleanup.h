#pragma once
// Temporary files and new folders removed when the process is stopped. A run
// ended by a signal while it writes (a server's time limit, Ctrl+C, a CPU-time
// limit, an alarm) would otherwise leave its hidden temporary files behind,
// half full, and the folders it made for them, where nothing ever removes
// them. Each temporary file and each folder made for files not yet in place
// is registered while it exists; the handlers remove whatever is registered
// and end the process with the signal, as it would have ended without them.
//
// The registry is a fixed table of fixed-size names: the handlers read it
// without allocating or locking. A name that does not fit, or a table that is
// full, is not registered; the file itself is written all the same.

#include <filesystem>

namespace vra {

// Installs the handlers of every signal that ends the process by default
// (SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGALRM, SIGXCPU, SIGUSR1 ...; a fault of
// the program itself, such as SIGSEGV, included). A signal the process was
// started with ignored (SIGHUP under nohup) stays ignored.
void InstallStopCleanup();

// Registers a temporary file, or a folder (removed only when empty, after the
// files, the deepest first); returns the entry to unregister, or -1 when it
// was not registered.
int RegisterStopCleanup(const std::filesystem::path& path, bool folder = false);
// Forgets an entry once its file is gone or in place, and sets it to -1;
// -1 is ignored.
void UnregisterStopCleanup(int& entry);

// While one is alive, a stop signal waits: it is handled when the last hold
// ends. Held around steps that must not be cut in two, such as putting a set
// of files in place, or creating a temporary file and registering it. A
// fault of the program is never held back.
class StopSignalHold {
public:
    StopSignalHold();
    ~StopSignalHold();
    StopSignalHold(const StopSignalHold&) = delete;
    StopSignalHold& operator=(const StopSignalHold&) = delete;
};

}  // namespace vra
