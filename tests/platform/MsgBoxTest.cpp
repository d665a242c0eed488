#include "platform/MsgBox.h"
#include "platform/AppInfo.h"
#include "support/MsgBoxRecorder.h"

#include <gtest/gtest.h>

using namespace platform;
using testing_support::MsgBoxRecorder;

TEST(MsgBox, UntitledBoxShowsApplicationTitleAndTitledBoxKeepsItsOwn) {
    MsgBoxRecorder boxes;
    MsgBox(QStringLiteral("Print Code goes here!"));
    MsgBox(QStringLiteral("x"), vbExclamation, QStringLiteral("Error"));
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.boxes()[0].title, appTitle());
    EXPECT_EQ(boxes.boxes()[0].style, vbOKOnly);
    EXPECT_EQ(boxes.boxes()[1].title, QStringLiteral("Error"));
    EXPECT_EQ(boxes.boxes()[1].style, 48);
}

TEST(MsgBox, ScriptedAnswersComeBackInOrderThenDefaults) {
    MsgBoxRecorder boxes;
    boxes.answerNext(vbNo);
    EXPECT_EQ(MsgBox(QStringLiteral("Delete?"), vbYesNo | vbQuestion), vbNo);
    EXPECT_EQ(MsgBox(QStringLiteral("Delete?"), 36), vbYes);
    EXPECT_EQ(MsgBox(QStringLiteral("Note"), vbInformation), vbOK);
}
