#include "MessageBoxService.h"
#include "ScriptedMessageBoxes.h"

#include "WorkingFolder.h"
#include "store/PackageStore.h"

#include <gtest/gtest.h>

#include <thread>

using B = MessageButton;

TEST(MessageBoxService, CaptionComesFromTheKindAndButtonsAndIconFromTheStyle)
{
    struct Case {
        MessageKind kind;
        unsigned int style;
        const char* caption;
        std::vector<MessageButton> buttons;
        MessageIcon icon;
    };
    const Case cases[] = {
        // The blank-password question: an error box that still asks Yes or No.
        {MessageKind::Error, MB_YESNO | MB_ICONHAND, "Error", {B::Yes, B::No}, MessageIcon::Error},
        {MessageKind::Error, MB_ICONHAND, "Error", {B::Ok}, MessageIcon::Error},
        {MessageKind::Confirmation, MB_YESNO | MB_ICONEXCLAMATION, "Confirmation", {B::Yes, B::No},
         MessageIcon::Warning},
        {MessageKind::Confirmation, MB_YESNO | MB_ICONQUESTION, "Confirmation", {B::Yes, B::No},
         MessageIcon::Question},
        {MessageKind::Information, MB_OK | MB_ICONINFORMATION, "Information", {B::Ok}, MessageIcon::Information},
        {MessageKind::Warning, MB_ICONEXCLAMATION, "Warning", {B::Ok}, MessageIcon::Warning},
        {MessageKind::Information, 0x1, "Information", {B::Ok, B::Cancel}, MessageIcon::None},
        {MessageKind::Information, 0x2, "Information", {B::Abort, B::Retry, B::Ignore}, MessageIcon::None},
        {MessageKind::Information, 0x3 | MB_ICONQUESTION, "Information", {B::Yes, B::No, B::Cancel},
         MessageIcon::Question},
        {MessageKind::Information, 0x5, "Information", {B::Retry, B::Cancel}, MessageIcon::None},
        {MessageKind::Error, 0x0F | 0x70, "Error", {B::Ok}, MessageIcon::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.caption) + " style " + std::to_string(c.style));
        ScriptedMessageBoxes boxes;
        boxes.setNextAnswer(IDYES);
        EXPECT_EQ(boxes.show(c.kind, "text", c.style), IDYES);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].caption, c.caption);
        EXPECT_EQ(boxes.shown()[0].style, c.style);
        const MessageBoxLayout layout = DescribeMessageBoxStyle(c.style);
        EXPECT_EQ(layout.buttons, c.buttons);
        EXPECT_EQ(layout.icon, c.icon);
    }
}

TEST(MessageBoxService, AnswersKeepThePlatformsValues)
{
    const std::pair<MessageButton, int> answers[] = {{B::Ok, 1},    {B::Cancel, 2}, {B::Abort, 3}, {B::Retry, 4},
                                                     {B::Ignore, 5}, {B::Yes, 6},    {B::No, 7}};
    for (const auto& [button, answer] : answers) {
        SCOPED_TRACE(answer);
        EXPECT_EQ(MessageAnswer(button), answer);
    }
    EXPECT_EQ(MessageAnswer(B::Ok), IDOK);
    EXPECT_EQ(MessageAnswer(B::Yes), IDYES);
    EXPECT_EQ(MessageAnswer(B::No), IDNO);
}

TEST(MessageBoxService, TheLibrarysLoggedBoxesGoThroughTheServiceWhileTheHookIsInstalled)
{
    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    {
        LibraryMessageBoxHook hook(boxes);
        boxes.setNextAnswer(IDNO);
        boxes.setNextAnswer(IDOK);
        EXPECT_EQ(store.ReportMessage("Go on?", MB_YESNO | MB_ICONQUESTION, true, true), IDNO);
        // From a worker thread, as the collection reports its failures.
        int answer = 0;
        std::thread worker([&] { answer = store.ReportMessage("ERROR FILE NOT FOUND", MB_ICONHAND, true, false); });
        worker.join();
        EXPECT_EQ(answer, IDOK);
        EXPECT_EQ(store.ReportMessage("not shown", MB_ICONHAND, false, false), -1);
    }
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].caption, "Confirmation");
    EXPECT_EQ(boxes.shown()[0].text, "Go on?");
    EXPECT_EQ(boxes.shown()[0].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(boxes.shown()[1].caption, "Error");
    EXPECT_EQ(boxes.shown()[1].text, "ERROR FILE NOT FOUND");

    EXPECT_EQ(store.ReportMessage("after the hook", MB_ICONHAND, true, false), -1);
    EXPECT_EQ(boxes.shown().size(), 2u);
}
