#include "platform/ErrorReporting.h"
#include "platform/AppError.h"
#include "support/MsgBoxRecorder.h"

#include <gtest/gtest.h>

using namespace platform;
using testing_support::MsgBoxRecorder;

TEST(ErrorReporting, UntrappedErrorShowsItsTextAndTheProgramGoesOn) {
    MsgBoxRecorder boxes;
    bool ranAfter = false;
    runReported([] { throw AppError(3021, QStringLiteral("No current record.")); });
    runReported([&] { ranAfter = true; });
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("No current record."));
    EXPECT_EQ(boxes.last().style, vbOKOnly);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Drivolex"));
    EXPECT_TRUE(ranAfter);
}

TEST(ErrorReporting, ReportedWrapperSwallowsSignalArgumentsAndStandardExceptions) {
    MsgBoxRecorder boxes;
    auto slot = reported([] { throw std::runtime_error("disk gone"); });
    slot(true, 42);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("disk gone"));
}
