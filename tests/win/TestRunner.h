// SPDX-License-Identifier: GPL-3.0-or-later
// A small test runner for the Windows tests, which run under wine where Qt Test is not built:
// each test is a function that throws on its first failed check; the runner prints one line per
// test and ends with "N passed, N failed".
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace wintest {

class CheckFailed final : public std::runtime_error {
public:
    explicit CheckFailed(const std::string &what) : std::runtime_error(what) {}
};

struct TestCase {
    std::string name;
    std::function<void()> run;
};

void check(bool ok, const char *expression, const char *file, int line);
void checkEqual(const std::string &actual, const std::string &expected, const char *expression,
                const char *file, int line);
void checkEqual(long long actual, long long expected, const char *expression, const char *file,
                int line);

// Runs every test; the number of failed tests (0 when all passed).
int runTests(const std::vector<TestCase> &tests);

} // namespace wintest

#define KT_CHECK(cond) ::wintest::check((cond), #cond, __FILE__, __LINE__)
#define KT_CHECK_EQ(actual, expected)                                                              \
    ::wintest::checkEqual((actual), (expected), #actual, __FILE__, __LINE__)
