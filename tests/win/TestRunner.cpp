// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows tests' runner (see TestRunner.h).
#include "TestRunner.h"

#include <cstdio>
#include <exception>

namespace wintest {

void check(bool ok, const char *expression, const char *file, int line)
{
    if (!ok)
        throw CheckFailed(std::string(file) + ":" + std::to_string(line) + ": " + expression);
}

void checkEqual(const std::string &actual, const std::string &expected, const char *expression,
                const char *file, int line)
{
    if (actual != expected)
        throw CheckFailed(std::string(file) + ":" + std::to_string(line) + ": " + expression +
                          " is \"" + actual + "\", expected \"" + expected + "\"");
}

void checkEqual(long long actual, long long expected, const char *expression, const char *file,
                int line)
{
    if (actual != expected)
        throw CheckFailed(std::string(file) + ":" + std::to_string(line) + ": " + expression +
                          " is " + std::to_string(actual) + ", expected " +
                          std::to_string(expected));
}

int runTests(const std::vector<TestCase> &tests)
{
    int passed = 0;
    int failed = 0;
    for (const TestCase &test : tests) {
        std::string problem;
        try {
            test.run();
        } catch (const std::exception &e) {
            problem = e.what();
        } catch (...) {
            problem = "unknown exception";
        }
        if (problem.empty()) {
            ++passed;
            std::printf("PASS %s\n", test.name.c_str());
        } else {
            ++failed;
            std::printf("FAIL %s: %s\n", test.name.c_str(), problem.c_str());
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed;
}

} // namespace wintest
