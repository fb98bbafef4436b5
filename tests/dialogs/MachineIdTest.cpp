#include "BrowseReg.h"
#include "MachineId.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char SettingsFile[] = "Morvane Package/Current_Morvane.ini";
constexpr char LogFile[] = "MorvaneLog.txt";

constexpr char IdRequired[] = "A unique machine ID is required.";
constexpr char ConfirmChange[] = "Are you sure you want to changed the Morvane settings? \n\n";
constexpr char InvalidRegistryPath[] = "Missing or invalid value in Registry Path";
constexpr char NoMachineId[] =
    " A Unique Machine ID has not been defined and files cannot be collected.\n\n Do you want to continue?";
constexpr char InvalidUserDefined[] = "Missing or invalid value in User Defined field.";

constexpr int CancelAnswer = 2;

constexpr char Settings[] = "[CONFIGURATION]\r\n"
                            "FTP Path=ftp.example\\drop\r\n"
                            "Local Directory=C:\\var\\reports\\\r\n"
                            "Perform FTP=1\r\n"
                            "Computer Name=NULL\r\n"
                            "Registry Field=NULL\r\n"
                            "User Defined=NULL\r\n"
                            "\r\n"
                            "[SELECT PACKAGE]\r\n"
                            "0)Name=Logs\r\n";

constexpr char Hive[] = "Windows Registry Editor Version 5.00\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine]\r\n"
                        "\"Id\"=\"WS-0042\"\r\n"
                        "\"Slash\"=\"WS/42\"\r\n";

struct MachineIdDialog {
    MachineIdDialog()
    {
        folder.write(SettingsFile, Settings);
        folder.write("MorvaneRegistry.reg", Hive);
        dialog.attach(&screen);
        dialog.OnInitDialog();
    }

    void clickSource(int control, MachineId::IdSource source)
    {
        for (int radio : {MachineId::ComputerNameSource, MachineId::RegistryValueSource, MachineId::UserDefinedSource})
            screen.setControlValue(radio, radio == control ? 1 : 0);
        dialog.OnSourceClicked(source);
    }

    void type(int control, const std::string& text, void (MachineId::*changed)())
    {
        for (char c : text) {
            screen.setControlText(control, screen.controlText(control) + c);
            (dialog.*changed)();
        }
    }

    // The settings file as it is expected after these three source keys were written.
    static std::string withSources(const char* computerName, const char* registryField, const char* userDefined)
    {
        std::string text = Settings;
        text = platform::withProfileValue(text, "CONFIGURATION", "Computer Name", computerName);
        text = platform::withProfileValue(text, "CONFIGURATION", "Registry Field", registryField);
        return platform::withProfileValue(text, "CONFIGURATION", "User Defined", userDefined);
    }

    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    MachineId dialog{store, &boxes};
};

TEST(MachineId, EachCaseShowsAndWritesWhatItShould)
{
    using Source = MachineId::IdSource;
    struct Case {
        const char* name;
        std::function<void(MachineIdDialog&)> act;
        std::vector<std::string> boxes;
        std::optional<int> end;
        // The settings file afterwards; empty: as it was.
        std::string settings;
    };
    const Case cases[] = {
        {"user defined PC-12 writes the three keys only",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::UserDefinedSource, Source::UserDefined);
             d.type(MachineId::UserDefined, "PC-12", &MachineId::OnUserDefinedChanged);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, MachineIdDialog::withSources("NULL", "NULL", "PC-12")},
        {"the computer name",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::ComputerNameSource, Source::ComputerName);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, MachineIdDialog::withSources("1", "NULL", "NULL")},
        {"a registry path with its root in lower case is stored as typed",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::RegistryValueSource, Source::RegistryValue);
             d.type(MachineId::RegistryField, "hkey_local_machine\\SOFTWARE\\Vendor\\Machine\\Id",
                    &MachineId::OnRegistryFieldChanged);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
             EXPECT_EQ(d.screen.controlText(MachineId::RegistryField),
                       "hkey_local_machine\\SOFTWARE\\Vendor\\Machine\\Id");
         },
         {ConfirmChange}, IDOK,
         MachineIdDialog::withSources("NULL", "hkey_local_machine\\SOFTWARE\\Vendor\\Machine\\Id", "NULL")},
        {"a registry value whose data is no valid name",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::RegistryValueSource, Source::RegistryValue);
             d.screen.setControlText(MachineId::RegistryField, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Slash");
             d.dialog.OnOK();
         },
         {InvalidRegistryPath}, std::nullopt, ""},
        {"a registry path without a backslash",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::RegistryValueSource, Source::RegistryValue);
             d.screen.setControlText(MachineId::RegistryField, "Id");
             d.dialog.OnOK();
         },
         {InvalidRegistryPath}, std::nullopt, ""},
        {"an empty user-defined ID",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::UserDefinedSource, Source::UserDefined);
             d.dialog.OnOK();
         },
         {InvalidUserDefined}, std::nullopt, ""},
        {"a forbidden character typed and then OK",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::UserDefinedSource, Source::UserDefined);
             d.type(MachineId::UserDefined, "PC*", &MachineId::OnUserDefinedChanged);
             d.dialog.OnOK();
         },
         {"Invalid character '*' in File Format field.", InvalidUserDefined}, std::nullopt, ""},
        {"a save answered No",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::ComputerNameSource, Source::ComputerName);
             d.boxes.setNextAnswer(IDNO);
             d.dialog.OnOK();
         },
         {ConfirmChange}, std::nullopt, ""},
        {"Cancel without a source asks",
         [](MachineIdDialog& d) {
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnCancel();
         },
         {NoMachineId}, CancelAnswer, ""},
        {"Cancel with a source asks too",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::ComputerNameSource, Source::ComputerName);
             d.boxes.setNextAnswer(IDNO);
             d.dialog.OnCancel();
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnCancel();
         },
         {NoMachineId, NoMachineId}, CancelAnswer, ""},
        {"closing the window saves, then asks the question of Cancel",
         [](MachineIdDialog& d) {
             d.clickSource(MachineId::ComputerNameSource, Source::ComputerName);
             d.boxes.setNextAnswer(IDYES);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnClose();
         },
         {ConfirmChange, NoMachineId}, CancelAnswer, MachineIdDialog::withSources("1", "NULL", "NULL")},
        {"closing the window without a source",
         [](MachineIdDialog& d) { d.dialog.OnClose(); }, {IdRequired}, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineIdDialog d;
        c.act(d);
        EXPECT_EQ(d.boxes.texts(), c.boxes);
        EXPECT_EQ(d.screen.endResult, c.end);
        EXPECT_EQ(d.folder.read(SettingsFile), c.settings.empty() ? std::string(Settings) : c.settings);
    }
}

TEST(MachineId, OKWithNothingSelectedShowsTheRequirementAndLogsOneWarning)
{
    MachineIdDialog d;
    d.dialog.OnOK();
    ASSERT_EQ(d.boxes.shown().size(), 1u);
    EXPECT_EQ(d.boxes.shown()[0].caption, "Error");
    EXPECT_EQ(d.boxes.shown()[0].text, IdRequired);
    EXPECT_FALSE(d.screen.endResult.has_value());
    const std::string log = d.folder.read(LogFile);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.find("\r\n"), log.size() - 2) << log;
    EXPECT_TRUE(log.ends_with("|  ***  Setting has been changed\r\n")) << log;
}

TEST(MachineId, OpensWithNoSourceWhateverTheSettingsHold)
{
    testsupport::WorkingFolder folder;
    folder.write(SettingsFile, "[CONFIGURATION]\r\nComputer Name=1\r\nUser Defined=PC-3\r\n");
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    MachineId dialog(store, &boxes);
    dialog.attach(&screen);
    dialog.OnInitDialog();
    EXPECT_EQ(screen.title, "Unique Machine ID");
    for (int radio : {MachineId::ComputerNameSource, MachineId::RegistryValueSource, MachineId::UserDefinedSource})
        EXPECT_EQ(screen.controlValue(radio), 0);
    for (int hidden : {MachineId::RegistryField, MachineId::RegistryBrowseButton, MachineId::UserDefined})
        EXPECT_FALSE(screen.control(hidden).visible);
    EXPECT_EQ(screen.controlText(MachineId::UserDefined), "");
    EXPECT_EQ(dialog.modified, 0);
}

TEST(MachineId, TheRegistryBrowserFillsTheRegistryField)
{
    MachineIdDialog d;
    d.screen.setNextDialog([](Dialog& opened) {
        auto& browser = dynamic_cast<BrowseReg&>(opened);
        EXPECT_EQ(browser.valueMode, 1);
        browser.resultPath = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Id";
        return IDOK;
    });
    d.dialog.OnBrowseRegistry();
    EXPECT_EQ(d.screen.controlText(MachineId::RegistryField), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Id");
    EXPECT_EQ(d.screen.controlValue(MachineId::RegistryValueSource), 1);
    EXPECT_TRUE(d.screen.control(MachineId::RegistryField).visible);
    EXPECT_FALSE(d.screen.control(MachineId::UserDefined).visible);
}

TEST(MachineId, AFailedWriteIsReportedAndTheDialogStaysOpen)
{
    MachineIdDialog d;
    ASSERT_TRUE(platform::setFileAttributes(".\\Morvane Package\\Current_Morvane.ini", FILE_ATTRIBUTE_READONLY));
    d.clickSource(MachineId::ComputerNameSource, MachineId::IdSource::ComputerName);
    d.boxes.setNextAnswer(IDYES);
    d.dialog.OnOK();
    ASSERT_EQ(d.boxes.shown().size(), 2u);
    EXPECT_EQ(d.boxes.shown()[1].caption, "Error");
    EXPECT_NE(d.boxes.shown()[1].text.find("could not be written"), std::string::npos);
    EXPECT_FALSE(d.screen.endResult.has_value());
    EXPECT_EQ(d.folder.read(SettingsFile), Settings);
}

} // namespace
