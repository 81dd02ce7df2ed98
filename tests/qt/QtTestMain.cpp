// tests_qt <TestClass> [QtTest options]: runs one registered QtTest class in a widget
// application, as QTEST_MAIN would for a program of its own.
#include "QtTestRegistry.h"

#include <QApplication>
#include <QtTest>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

std::map<std::string, QtTestRegistry::Factory>& Classes()
{
    // Filled by the classes' static registrations, which may run before any global here.
    static std::map<std::string, QtTestRegistry::Factory> classes;
    return classes;
}

} // namespace

bool QtTestRegistry::Add(const char* name, Factory factory)
{
    return Classes().emplace(name, factory).second;
}

int main(int argc, char** argv)
{
    const auto found = argc > 1 ? Classes().find(argv[1]) : Classes().end();
    if (found == Classes().end()) {
        std::fprintf(stderr, "usage: %s <test class> [QtTest options]\nclasses:", argv[0]);
        for (const auto& [name, factory] : Classes())
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    // QtTest sees the program's name and its own options, not the class.
    std::vector<char*> arguments { argv[0] };
    arguments.insert(arguments.end(), argv + 2, argv + argc);
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    QApplication application(count, arguments.data());
    application.setAttribute(Qt::AA_Use96Dpi, true);
    const std::unique_ptr<QObject> test = found->second();
    return QTest::qExec(test.get(), count, arguments.data());
}
