// A process stopped by a signal while it writes: its temporary files and the
// folder made for a set of new files go with it, the old files stay, and the
// process ends with the signal as it would have without the handlers.
#include "core/base/StopCleanup.h"

#include "core/base/AtomicFile.h"

#include "support/FileText.h"
#include "support/ScratchDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vra;
using vra::test::ReadAll;
using vra::test::ScratchDir;

namespace {

std::set<std::string> Entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// Runs work in a child process with the handlers installed; work calls
// started() once it is under way. Sends the signals in turn and returns the
// child's wait status.
int StopWhileWriting(const std::function<void(const std::function<void()>& started)>& work,
                     std::initializer_list<int> signals) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        InstallStopCleanup();
        work([&] {
            const char c = 'w';
            (void)!::write(pipeFds[1], &c, 1);
        });
        ::_exit(3);
    }
    ::close(pipeFds[1]);
    char c = 0;
    const bool started = ::read(pipeFds[0], &c, 1) == 1;
    ::close(pipeFds[0]);
    for (int sig : signals)
        if (started) ::kill(pid, sig);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// Writes a site of two pages into a folder of its own and a large file over
// an old one, and goes on writing that until stopped.
void WriteSiteAndData(const fs::path& dir, const std::function<void()>& started) {
    const std::string page(100'000, 'p');
    AtomicFileSet site;
    if (!site.makeFolder(dir / "site") || !site.add(dir / "site" / "index.html", page) ||
        !site.add(dir / "site" / "race.html", page))
        return;
    AtomicFile data(dir / "race.txt");
    if (!data.write(std::string_view(page))) return;
    started();
    for (int i = 0; i < 10'000 && data.write(std::string_view(page).substr(0, 1000)); ++i) ::usleep(1000);
}

}  // namespace

TEST(StopCleanup, AStoppedWriterLeavesNoTemporaryAndEndsWithItsSignal) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        const ScratchDir dir("stop");
        std::ofstream(dir / "race.txt", std::ios::binary) << "old";
        const int status = StopWhileWriting([&](const auto& started) { WriteSiteAndData(dir.path(), started); }, {sig});
        ASSERT_TRUE(WIFSIGNALED(status)) << strsignal(sig) << ": exit status " << status;
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_THAT(Entries(dir.path()), testing::ElementsAre("race.txt")) << strsignal(sig);
        EXPECT_EQ(ReadAll(dir / "race.txt"), "old");
    }

    // Started under nohup, the run stays deaf to a hang-up.
    const ScratchDir dir("stop-nohup");
    const int status = StopWhileWriting(
        [&](const auto& started) {
            std::signal(SIGHUP, SIG_IGN);
            InstallStopCleanup();
            WriteSiteAndData(dir.path(), started);
        },
        {SIGHUP, SIGTERM});
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_TRUE(Entries(dir.path()).empty());
}

// A stop while a set is put in place waits for the whole set.
TEST(StopCleanup, ASetBeingPutInPlaceIsFinishedFirst) {
    const ScratchDir dir("stop-hold");
    const int status = StopWhileWriting(
        [&](const auto& started) {
            AtomicFileSet site;
            if (!site.makeFolder(dir / "site") || !site.add(dir / "site" / "index.html", std::string_view("new")))
                return;
            const StopSignalHold hold;
            sigset_t term, none;
            sigemptyset(&term);
            sigemptyset(&none);
            sigaddset(&term, SIGTERM);
            ::sigprocmask(SIG_BLOCK, &term, nullptr);
            started();
            ::sigsuspend(&none);  // returns once the signal was taken and put off
            ::sigprocmask(SIG_UNBLOCK, &term, nullptr);
            site.commit();
        },
        {SIGTERM});
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_THAT(Entries(dir / "site"), testing::ElementsAre("index.html"));
    EXPECT_EQ(ReadAll(dir / "site" / "index.html"), "new");
}
