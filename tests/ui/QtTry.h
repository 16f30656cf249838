#pragma once
// Qt's QTRY_* macros report to Qt's own test runner, which GoogleTest never
// hears from: a condition that never came true would pass. These wait the
// same way (running the event loop) and fail the GoogleTest test.

#include "EventLoopWait.h"

#include <QTest>

#include <gtest/gtest.h>

#undef QTRY_VERIFY
#undef QTRY_COMPARE
#undef QTRY_COMPARE_WITH_TIMEOUT
#define QTRY_VERIFY(expression)                                                                                        \
    ASSERT_TRUE(::mirelo::test::waitUntil([&] { return bool(expression); }, 5000)) << #expression
#define QTRY_COMPARE_WITH_TIMEOUT(actual, expected, timeout)                                                           \
    do {                                                                                                               \
        ::mirelo::test::waitUntil([&] { return (actual) == (expected); }, (timeout));                                  \
        ASSERT_EQ((actual), (expected));                                                                               \
    } while (0)
#define QTRY_COMPARE(actual, expected) QTRY_COMPARE_WITH_TIMEOUT(actual, expected, 5000)
