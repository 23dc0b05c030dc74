#include "testsuite.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct TestClass
{
    std::string name;
    std::string file; // the source file's name without folder, "tst_" or ".cpp"
    const char *sourcePath;
    TestSuite::Application application;
    TestSuite::Factory make;
};

// Filled by the static initialisers of the test files, hence a function-local
// static: it exists before the first of them runs.
std::vector<TestClass> &classes()
{
    static std::vector<TestClass> all;
    return all;
}

std::string fileTitle(const char *path)
{
    std::string name = path;
    name = name.substr(name.find_last_of('/') + 1);
    if (name.rfind("tst_", 0) == 0) name.erase(0, 4);
    return name.substr(0, name.find('.'));
}

bool names(const TestClass &c, const char *wanted)
{
    return c.name == wanted || c.file == wanted || "tst_" + c.file == wanted;
}

void listClasses(FILE *to)
{
    for (const TestClass &c : classes())
        std::fprintf(to, "  %s (%s)\n", c.file.c_str(), c.name.c_str());
}

} // namespace

bool TestSuite::add(const char *className, const char *sourceFile, Application application,
                    Factory make)
{
    classes().push_back({className, fileTitle(sourceFile), sourceFile, application, make});
    return true;
}

int TestSuite::run(int argc, char **argv)
{
    std::vector<TestClass> &all = classes();
    std::sort(all.begin(), all.end(),
              [](const TestClass &a, const TestClass &b) { return a.file < b.file; });

    std::vector<char *> args(argv, argv + argc);
    std::vector<const TestClass *> chosen;
    if (argc > 1 && argv[1][0] != '-') {
        const auto found = std::find_if(all.begin(), all.end(),
                                        [&](const TestClass &c) { return names(c, argv[1]); });
        if (found == all.end()) {
            std::fprintf(stderr, "%s: no test class %s; this program has:\n", argv[0], argv[1]);
            listClasses(stderr);
            return 2;
        }
        chosen.push_back(&*found);
        args.erase(args.begin() + 1);
    } else {
        for (const TestClass &c : all)
            chosen.push_back(&c);
    }
    args.push_back(nullptr);
    int count = int(args.size()) - 1;

    const bool widgets = std::any_of(chosen.begin(), chosen.end(), [](const TestClass *c) {
        return c->application == Application::Widgets;
    });
    std::unique_ptr<QCoreApplication> app;
    if (widgets)
        app = std::make_unique<QApplication>(count, args.data());
    else
        app = std::make_unique<QCoreApplication>(count, args.data());
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);

    int failed = 0;
    for (const TestClass *c : chosen) {
        const std::unique_ptr<QObject> test = c->make();
        QTest::setMainSourcePath(c->sourcePath);
        failed += QTest::qExec(test.get(), count, args.data());
    }
    // An exit status is one byte: a sum of 256 failures must not read as success.
    return std::min(failed, 127);
}
