#pragma once
// Waiting for a condition in widget tests: the event loop runs until it
// holds, and the GoogleTest test fails if it never does. (Qt's own QTRY_*
// macros report to Qt's test runner, which GoogleTest never hears from.)

#include "EventLoopWait.h"

#include <gtest/gtest.h>

#define ASSERT_EVENTUALLY(expression)                                                                                  \
    ASSERT_TRUE(::mirelo::test::waitUntil([&] { return bool(expression); }, 5000)) << #expression
#define ASSERT_EVENTUALLY_EQ_WITHIN(actual, expected, timeout)                                                         \
    do {                                                                                                               \
        ::mirelo::test::waitUntil([&] { return (actual) == (expected); }, (timeout));                                  \
        ASSERT_EQ((actual), (expected));                                                                               \
    } while (0)
#define ASSERT_EVENTUALLY_EQ(actual, expected) ASSERT_EVENTUALLY_EQ_WITHIN(actual, expected, 5000)
