// One QApplication for the whole GUI test run.
#include "platform/TApplication.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "platform_gui_test";
        static char* argv[] = {name, nullptr};
        application = new QApplication(argc, argv);
        Application->Initialize();
    }
    void TearDown() override {
        Application->DestroyForms();
        delete application;
    }

private:
    QApplication* application = nullptr;
};

[[maybe_unused]] const ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
