#include "NewPackage.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int CancelAnswer = 2;

class NewPackageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.write("Morvane Package/Current_Package_Logs.ini", "");
        dialog.attach(&screen);
        dialog.OnInitDialog();
    }

    void type(const std::string& text)
    {
        screen.setControlText(NewPackage::PackageNameField, text);
        dialog.OnNameChanged();
    }

    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    NewPackage dialog{store, &boxes};
};

} // namespace

TEST_F(NewPackageTest, OpensCaptionedNewPackageWithAnEmptyName)
{
    EXPECT_EQ(screen.title, "New Package");
    EXPECT_EQ(screen.control(NewPackage::PackageNameField).text, "");
    EXPECT_EQ(NewPackage::NameLimit, 25u);
}

TEST_F(NewPackageTest, TypingACharacterNamesMayNotHoldIsPointedOutAtOnce)
{
    struct Case {
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"Lo", nullptr},
        {"", nullptr},
        {"a:b", "Invalid character ':' in File Format field."},
        {"a*", "Invalid character '*' in File Format field."},
        {"a/b>", "Invalid character '>' in File Format field."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        boxes.clear();
        type(c.typed);
        if (c.message) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, c.message);
            EXPECT_EQ(boxes.shown()[0].caption, "Error");
            EXPECT_EQ(boxes.shown()[0].style, MB_OK | MB_ICONERROR);
        } else {
            EXPECT_TRUE(boxes.shown().empty());
        }
        EXPECT_EQ(screen.control(NewPackage::PackageNameField).text, c.typed);
    }
}

TEST_F(NewPackageTest, OkRefusesAnEmptyNameABadCharacterAndAnExistingPackageInThisOrder)
{
    struct Case {
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"", "Missing or invalid value in the Package Name field."},
        {"a:b", "Invalid character ':' in File Format field."},
        {"Logs", "Package 'Logs' already exists."},
        {"LOGS", "Package 'LOGS' already exists."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        screen.setControlText(NewPackage::PackageNameField, c.typed);
        boxes.clear();
        dialog.OnOK();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, c.message);
        EXPECT_EQ(boxes.shown()[0].caption, "Error");
        EXPECT_FALSE(screen.endResult.has_value());
        EXPECT_EQ(dialog.resultName, "");
    }

    screen.setControlText(NewPackage::PackageNameField, "Logs 2");
    boxes.clear();
    dialog.OnOK();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(screen.endResult, IDOK);
    EXPECT_EQ(dialog.resultName, "Logs 2");
    EXPECT_FALSE(folder.exists("Morvane Package/Current_Package_Logs 2.ini"));
}

TEST_F(NewPackageTest, CancelEndsAtOnceWithoutAName)
{
    screen.setControlText(NewPackage::PackageNameField, "Mine");
    dialog.OnCancel();
    EXPECT_EQ(screen.endResult, CancelAnswer);
    EXPECT_EQ(dialog.resultName, "");
    EXPECT_TRUE(boxes.shown().empty());
}
