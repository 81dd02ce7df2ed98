#pragma once

#include <QObject>

#include <memory>

// The QtTest classes of tests/qt share one program (one moc pass and one link instead of one
// per class). Each class registers itself by name; QtTestMain.cpp runs the class named first on
// the command line, so that ctest still runs every class in a process of its own.
namespace QtTestRegistry {

using Factory = std::unique_ptr<QObject> (*)();

bool Add(const char* name, Factory factory);

} // namespace QtTestRegistry

#define QUOTINO_QT_TEST(TestClass)                                                                 \
    namespace {                                                                                    \
        const bool kRegistered##TestClass = QtTestRegistry::Add(#TestClass,                        \
            []() -> std::unique_ptr<QObject> { return std::make_unique<TestClass>(); });           \
    }
