// One QApplication for a whole test program, with the Fusion style so that
// pictures do not depend on the desktop the tests run on.

#include <QApplication>
#include <QStyleFactory>
#include <gtest/gtest.h>

namespace {

class GuiTestApp : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance()) return;
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
    }

private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(new GuiTestApp);

}  // namespace
