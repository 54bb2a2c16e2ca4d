// One QApplication for a whole test program, with the Fusion style so that
// pictures do not depend on the desktop the tests run on, and with a home of
// its own for what Qt and the libraries below it keep there.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

class GuiTestApp : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance()) return;
        // The file dialog's history, the sound server's cookie and runtime
        // files and the caches go to a folder of this run, removed at its end: the tests never
        // change the user's own files.
        home_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vra-gui-test-XXXXXX"));
        if (home_->isValid()) {
            const std::pair<const char*, const char*> folders[] = {{"XDG_CONFIG_HOME", "config"},
                                                                   {"XDG_CACHE_HOME", "cache"},
                                                                   {"XDG_DATA_HOME", "data"},
                                                                   {"XDG_STATE_HOME", "state"}};
            for (const auto& [variable, folder] : folders)
                qputenv(variable, QFile::encodeName(home_->filePath(QString::fromLatin1(folder))));
            // The runtime folder too (the sound server's client and Qt make
            // theirs in the temporary folder without one); it must be the
            // user's alone.
            const QString runtime = home_->filePath(QStringLiteral("runtime"));
            if (QDir().mkpath(runtime) &&
                QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        }
        static int argc = 1;
        static char name[] = "vra-gui-test";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setApplicationDisplayName(QStringLiteral("Velmar Replay Analyzer"));
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
        home_.reset();
    }

private:
    QApplication* app_ = nullptr;
    std::unique_ptr<QTemporaryDir> home_;
};

[[maybe_unused]] ::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(new GuiTestApp);

}  // namespace
