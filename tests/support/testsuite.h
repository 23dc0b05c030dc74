#pragma once

#include <QObject>

#include <memory>

// The test classes of one test program, one program per folder of tests/.
// Each tst_<what>.cpp adds its class with VX_TEST_CLASS instead of having a
// main of its own; the program runs the class named by its first argument
// (CTest names one, so that each class stays a test of its own) or, with no
// name, every class in turn.
class TestSuite
{
public:
    // The application object a class runs under: QCoreApplication, as
    // QTEST_GUILESS_MAIN would make, or QApplication, as QTEST_MAIN does.
    enum class Application
    {
        Core,
        Widgets
    };
    using Factory = std::unique_ptr<QObject> (*)();

    static bool add(const char *className, const char *sourceFile, Application application,
                    Factory make);
    static int run(int argc, char **argv);
};

#define VX_TEST_CLASS(TestObject, application)                                                     \
    namespace {                                                                                    \
    [[maybe_unused]] const bool kAdded##TestObject = TestSuite::add(                               \
        #TestObject, __FILE__, TestSuite::Application::application,                                \
        []() -> std::unique_ptr<QObject> { return std::make_unique<TestObject>(); });              \
    }
