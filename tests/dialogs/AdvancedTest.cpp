#include "Advanced.h"
#include "BrowseReg.h"
#include "FolderDialog.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char SettingsFile[] = "Morvane Package/Current_Morvane.ini";

constexpr char ConfirmChange[] = "Are you sure you want to changed the Morvane settings? \n\n";
constexpr char NoMachineId[] =
    " A Unique Machine ID has not been defined and files cannot be collected.\n\n Do you want to continue?";
constexpr char InvalidRegistryPath[] = "Missing or invalid value in Registry Path";
constexpr char InvalidUserDefined[] = "Missing or invalid value in User Defined field.";
constexpr char SlashTyped[] = "Invalid character '/' in File Format field.";
constexpr char MissingPassword[] = "Missing or invalid value in ZIP Password field";
constexpr char PathTooLong[] = "The path is too long.";

constexpr int CancelAnswer = 2;

constexpr char Hive[] = "Windows Registry Editor Version 5.00\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine]\r\n"
                        "\"Id\"=\"WS-0042\"\r\n"
                        "\"Slash\"=\"WS/42\"\r\n"
                        "\"Serial\"=dword:0000a42f\r\n";

// Everything present, the computer name as machine ID, no password.
constexpr char Complete[] = "FTP Path=ftp.example\\drop\r\n"
                            "Local Directory=C:\\var\\reports\\\r\n"
                            "Perform FTP=1\r\n"
                            "Password Enable=0\r\n"
                            "Password Value=secret\r\n"
                            "Computer Name=1\r\n"
                            "Registry Field=NULL\r\n"
                            "User Defined=NULL\r\n";

std::string settingsText(const std::string& configuration)
{
    return "[CONFIGURATION]\r\n" + configuration + "\r\n[SELECT PACKAGE]\r\n0)Name=Logs\r\n";
}

// One Settings dialog on a scripted screen over a store whose current settings hold the given
// CONFIGURATION lines, and a small hive.
struct SettingsDialog {
    explicit SettingsDialog(const std::string& configuration)
    {
        folder.write(SettingsFile, settingsText(configuration));
        folder.write("MorvaneRegistry.reg", Hive);
        dialog.attach(&screen);
        dialog.OnInitDialog();
    }

    std::string setting(const char* key) const
    {
        std::string value;
        store.ReadSetting(store.CurrentSettingsPath(), key, value);
        return value;
    }

    // The user types a text into an edit, one character at a time.
    void type(int control, const std::string& text, void (Advanced::*changed)())
    {
        for (char c : text) {
            screen.setControlText(control, screen.controlText(control) + c);
            (dialog.*changed)();
        }
    }

    void clickSource(int control, Advanced::IdSource source)
    {
        for (int radio : {Advanced::ComputerNameSource, Advanced::RegistryEntrySource, Advanced::UserDefinedSource})
            screen.setControlValue(radio, radio == control ? 1 : 0);
        dialog.OnSourceClicked(source);
    }

    void clickCheckBox(int control, void (Advanced::*clicked)())
    {
        screen.setControlValue(control, screen.controlValue(control) ? 0 : 1);
        (dialog.*clicked)();
    }

    // The folder picker ends with OK on this Linux folder.
    void pickFolder(const std::string& linuxFolder)
    {
        screen.setNextDialog([linuxFolder](Dialog& opened) {
            auto& picker = dynamic_cast<CFolderDialog&>(opened);
            EXPECT_EQ(picker.title(), "Select Folder to Zip Files");
            EXPECT_EQ(picker.flags(), 0x40001u);
            return picker.OnChosen(linuxFolder);
        });
        dialog.OnBrowseLocalFolder();
    }

    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    Advanced dialog{store, &boxes};
};

TEST(Advanced, EachCaseShowsAndWritesWhatItShould)
{
    struct Case {
        const char* name;
        std::string configuration;
        std::function<void(SettingsDialog&)> act;
        std::vector<std::string> boxes;
        std::optional<int> end;
        // CONFIGURATION keys afterwards; "" for absent.
        std::map<std::string, std::string> settings;
        // Not a byte of the settings file changes.
        bool untouched = false;
    };
    const std::string ftpServerOnly = "FTP Server=ftp.only\r\nLocal Directory=C:\\out\\\r\nPassword Enable=1\r\n"
                                      "Password Value=pw\r\nComputer Name=1\r\nRegistry Field=NULL\r\n"
                                      "User Defined=NULL\r\n";
    const std::string noPassword = "FTP Path=ftp.example\r\nPassword Enable=0\r\nComputer Name=1\r\n"
                                   "Registry Field=NULL\r\nUser Defined=NULL\r\n";
    const std::string everySource = "FTP Path=ftp.example\r\nComputer Name=1\r\n"
                                    "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Id\r\n"
                                    "User Defined=PC-12\r\n";
    const std::string noFtpTarget = "Local Directory=C:\\out\\\r\nPerform FTP=0\r\nPassword Enable=1\r\n"
                                    "Password Value=pw\r\nComputer Name=NULL\r\nRegistry Field=NULL\r\n"
                                    "User Defined=PC-12\r\n";
    const Case cases[] = {
        {"no FTP target: the rest still loads and a save keeps it", noFtpTarget,
         [](SettingsDialog& d) {
             EXPECT_EQ(d.screen.controlText(Advanced::FtpServer), "");
             EXPECT_EQ(d.screen.controlText(Advanced::LocalFolder), "C:\\out\\");
             EXPECT_EQ(d.screen.controlText(Advanced::ZipPassword), "pw");
             EXPECT_EQ(d.screen.controlValue(Advanced::UserDefinedSource), 1);
             d.clickCheckBox(Advanced::PerformFtp, &Advanced::OnPerformFtpClicked);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK,
         {{"Local Directory", "C:\\out\\"}, {"Password Enable", "1"}, {"Password Value", "pw"},
          {"Computer Name", "NULL"}, {"User Defined", "PC-12"}, {"Perform FTP", "1"}}},
        {"FTP Path shown and written back there", Complete,
         [](SettingsDialog& d) {
             EXPECT_EQ(d.screen.controlText(Advanced::FtpServer), "ftp.example\\drop");
             d.screen.setControlText(Advanced::FtpServer, "ftp.new");
             d.clickCheckBox(Advanced::PerformFtp, &Advanced::OnPerformFtpClicked);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, {{"FTP Path", "ftp.new"}, {"FTP Server", ""}, {"Perform FTP", "0"}}},
        {"only FTP Server shown and written back there", ftpServerOnly,
         [](SettingsDialog& d) {
             EXPECT_EQ(d.screen.controlText(Advanced::FtpServer), "ftp.only");
             d.screen.setControlText(Advanced::FtpServer, "ftp.new");
             d.clickCheckBox(Advanced::PerformFtp, &Advanced::OnPerformFtpClicked);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, {{"FTP Server", "ftp.new"}, {"FTP Path", ""}, {"Perform FTP", "1"}}},
        {"no password value shows zq and a save writes it", noPassword,
         [](SettingsDialog& d) {
             EXPECT_EQ(d.screen.controlText(Advanced::ZipPassword), "zq");
             EXPECT_EQ(d.screen.controlText(Advanced::PasswordMirror), "zq");
             d.clickCheckBox(Advanced::PerformFtp, &Advanced::OnPerformFtpClicked);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, {{"Password Value", "zq"}, {"Password Enable", "0"}}},
        {"registry field and user defined both set select user defined", everySource,
         [](SettingsDialog& d) {
             EXPECT_EQ(d.screen.controlValue(Advanced::UserDefinedSource), 1);
             EXPECT_EQ(d.screen.controlValue(Advanced::RegistryEntrySource), 0);
             EXPECT_EQ(d.screen.controlValue(Advanced::ComputerNameSource), 0);
             EXPECT_TRUE(d.screen.control(Advanced::UserDefined).visible);
             EXPECT_FALSE(d.screen.control(Advanced::RegistryField).visible);
             EXPECT_FALSE(d.screen.control(Advanced::RegistryBrowseButton).visible);
             EXPECT_EQ(d.screen.controlText(Advanced::UserDefined), "PC-12");
         },
         {}, std::nullopt, {}, true},
        {"a folder gets the reports folder and a backslash", Complete,
         [](SettingsDialog& d) {
             d.pickFolder("/Data");
             EXPECT_EQ(d.screen.controlText(Advanced::LocalFolder), "C:\\Data\\BugReports\\");
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, {{"Local Directory", "C:\\Data\\BugReports\\"}}},
        {"a reports folder gets only the backslash", Complete,
         [](SettingsDialog& d) {
             d.pickFolder("/Data/BugReports");
             EXPECT_EQ(d.screen.controlText(Advanced::LocalFolder), "C:\\Data\\BugReports\\");
         },
         {}, std::nullopt, {}, true},
        {"a folder too long with its suffix is refused", Complete,
         [](SettingsDialog& d) {
             d.pickFolder("/" + std::string(246, 'd'));
             EXPECT_EQ(d.screen.controlText(Advanced::LocalFolder), "C:\\var\\reports\\");
             EXPECT_EQ(d.boxes.shown().at(0).caption, "Information");
         },
         {PathTooLong}, std::nullopt, {}, true},
        {"a cancelled picker still counts as a change", Complete,
         [](SettingsDialog& d) {
             d.screen.setNextDialog([](Dialog&) { return CFolderDialog::Cancelled; });
             d.dialog.OnBrowseLocalFolder();
             d.boxes.setNextAnswer(IDNO);
             d.dialog.OnOK();
         },
         {ConfirmChange}, std::nullopt, {}, true},
        {"OK untouched writes nothing and asks nothing", Complete, [](SettingsDialog& d) { d.dialog.OnOK(); }, {},
         IDOK, {}, true},
        {"a slash typed into the user-defined ID", Complete,
         [](SettingsDialog& d) {
             d.clickSource(Advanced::UserDefinedSource, Advanced::IdSource::UserDefined);
             d.type(Advanced::UserDefined, "a/b", &Advanced::OnUserDefinedChanged);
             EXPECT_EQ(d.screen.controlText(Advanced::UserDefined), "a/b");
             d.dialog.OnOK();
         },
         {SlashTyped, SlashTyped, InvalidUserDefined}, std::nullopt, {}, true},
        {"a save leaves one source only", everySource,
         [](SettingsDialog& d) {
             d.clickSource(Advanced::ComputerNameSource, Advanced::IdSource::ComputerName);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, {{"Computer Name", "1"}, {"Registry Field", "NULL"}, {"User Defined", "NULL"}}},
        {"the registry source is stored with its root in capitals", Complete,
         [](SettingsDialog& d) {
             d.clickSource(Advanced::RegistryEntrySource, Advanced::IdSource::RegistryEntry);
             EXPECT_TRUE(d.screen.control(Advanced::RegistryField).visible);
             d.type(Advanced::RegistryField, "hkey_local_machine\\SOFTWARE\\Vendor\\Machine\\Id",
                    &Advanced::OnRegistryFieldChanged);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK,
         {{"Computer Name", "NULL"},
          {"Registry Field", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Id"},
          {"User Defined", "NULL"}}},
        {"an empty user-defined ID is refused", Complete,
         [](SettingsDialog& d) {
             d.clickSource(Advanced::UserDefinedSource, Advanced::IdSource::UserDefined);
             d.dialog.OnOK();
         },
         {InvalidUserDefined}, std::nullopt, {}, true},
        {"an enabled password must be there", Complete,
         [](SettingsDialog& d) {
             d.clickCheckBox(Advanced::PasswordEnable, &Advanced::OnPasswordEnableClicked);
             EXPECT_TRUE(d.screen.control(Advanced::ZipPassword).visible);
             EXPECT_FALSE(d.screen.control(Advanced::PasswordMirror).visible);
             d.screen.setControlText(Advanced::ZipPassword, "");
             d.dialog.OnPasswordChanged();
             d.dialog.OnOK();
         },
         {MissingPassword}, std::nullopt, {}, true},
        {"a password of blanks is no password", Complete,
         [](SettingsDialog& d) {
             d.clickCheckBox(Advanced::PasswordEnable, &Advanced::OnPasswordEnableClicked);
             d.screen.setControlText(Advanced::ZipPassword, "   ");
             d.dialog.OnPasswordChanged();
             d.dialog.OnOK();
         },
         {MissingPassword}, std::nullopt, {}, true},
        {"the password is written also while it is disabled", Complete,
         [](SettingsDialog& d) {
             d.screen.setControlText(Advanced::ZipPassword, "changed");
             d.dialog.OnPasswordChanged();
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, {{"Password Value", "changed"}, {"Password Enable", "0"}}},
        {"text typed before a source is clicked stays", Complete,
         [](SettingsDialog& d) {
             d.screen.setControlText(Advanced::ZipPassword, "typed");
             d.dialog.OnPasswordChanged();
             d.clickSource(Advanced::UserDefinedSource, Advanced::IdSource::UserDefined);
             d.type(Advanced::UserDefined, "PC-9", &Advanced::OnUserDefinedChanged);
             d.clickSource(Advanced::ComputerNameSource, Advanced::IdSource::ComputerName);
             EXPECT_EQ(d.screen.controlText(Advanced::ZipPassword), "typed");
             d.clickSource(Advanced::UserDefinedSource, Advanced::IdSource::UserDefined);
             EXPECT_EQ(d.screen.controlText(Advanced::UserDefined), "PC-9");
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {ConfirmChange}, IDOK, {{"Password Value", "typed"}, {"User Defined", "PC-9"}, {"Computer Name", "NULL"}}},
        {"no source: Yes closes without saving", "FTP Path=ftp.example\r\nComputer Name=NULL\r\n"
                                                 "Registry Field=NULL\r\nUser Defined=NULL\r\n",
         [](SettingsDialog& d) {
             d.clickCheckBox(Advanced::PerformFtp, &Advanced::OnPerformFtpClicked);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnOK();
         },
         {NoMachineId}, IDOK, {}, true},
        {"closing the window runs the checks and ends as Cancel", Complete,
         [](SettingsDialog& d) {
             d.clickCheckBox(Advanced::PerformFtp, &Advanced::OnPerformFtpClicked);
             d.boxes.setNextAnswer(IDYES);
             d.dialog.OnClose();
         },
         {ConfirmChange}, CancelAnswer, {{"Perform FTP", "0"}}},
        {"the Cancel button ends at once", Complete,
         [](SettingsDialog& d) {
             d.clickCheckBox(Advanced::PerformFtp, &Advanced::OnPerformFtpClicked);
             d.dialog.OnCancel();
         },
         {}, CancelAnswer, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsDialog d(c.configuration);
        const std::string before = d.folder.read(SettingsFile);
        c.act(d);
        EXPECT_EQ(d.boxes.texts(), c.boxes);
        EXPECT_EQ(d.screen.endResult, c.end);
        if (c.untouched) {
            EXPECT_EQ(d.folder.read(SettingsFile), before);
        }
        for (const auto& [key, value] : c.settings)
            EXPECT_EQ(d.setting(key.c_str()), value) << key;
    }
}

TEST(Advanced, AfterASaveAtMostOneSourceKeyHoldsAValue)
{
    using Source = Advanced::IdSource;
    struct Case {
        const char* name;
        int control;
        Source source;
        std::string typed;
        const char* expected[3];
    };
    const Case cases[] = {
        {"computer name", Advanced::ComputerNameSource, Source::ComputerName, "", {"1", "NULL", "NULL"}},
        {"registry entry", Advanced::RegistryEntrySource, Source::RegistryEntry,
         "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Serial",
         {"NULL", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Serial", "NULL"}},
        {"user defined", Advanced::UserDefinedSource, Source::UserDefined, "PC-12", {"NULL", "NULL", "PC-12"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsDialog d("FTP Path=ftp.example\r\nComputer Name=1\r\n"
                         "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Id\r\nUser Defined=PC-1\r\n");
        d.clickSource(c.control, c.source);
        if (c.control == Advanced::RegistryEntrySource)
            d.screen.setControlText(Advanced::RegistryField, c.typed);
        if (c.control == Advanced::UserDefinedSource)
            d.screen.setControlText(Advanced::UserDefined, c.typed);
        d.boxes.setNextAnswer(IDYES);
        d.dialog.OnOK();
        EXPECT_EQ(d.screen.endResult, IDOK);
        EXPECT_EQ(d.setting("Computer Name"), c.expected[0]);
        EXPECT_EQ(d.setting("Registry Field"), c.expected[1]);
        EXPECT_EQ(d.setting("User Defined"), c.expected[2]);
    }
}

TEST(Advanced, ARegistrySourceMustNameAReadableValueWithAValidName)
{
    const char* const paths[] = {
        "",
        "no backslash",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Missing",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Slash",
        "HKLM\\SOFTWARE\\Vendor\\Machine\\Id",
    };
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        SettingsDialog d(Complete);
        const std::string before = d.folder.read(SettingsFile);
        d.clickSource(Advanced::RegistryEntrySource, Advanced::IdSource::RegistryEntry);
        d.screen.setControlText(Advanced::RegistryField, path);
        d.dialog.OnOK();
        EXPECT_EQ(d.boxes.texts(), std::vector<std::string>{InvalidRegistryPath});
        EXPECT_FALSE(d.screen.endResult.has_value());
        EXPECT_EQ(d.folder.read(SettingsFile), before);
    }
}

TEST(Advanced, TheRegistryBrowserFillsTheRegistryField)
{
    SettingsDialog d(Complete);
    d.screen.setNextDialog([](Dialog& opened) {
        auto& browser = dynamic_cast<BrowseReg&>(opened);
        EXPECT_EQ(browser.valueMode, 1);
        browser.resultPath = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Id";
        return IDOK;
    });
    d.dialog.OnBrowseRegistry();
    EXPECT_EQ(d.screen.controlText(Advanced::RegistryField), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Machine\\Id");
    EXPECT_EQ(d.screen.controlValue(Advanced::RegistryEntrySource), 1);
    EXPECT_TRUE(d.screen.control(Advanced::RegistryBrowseButton).visible);
    EXPECT_EQ(d.dialog.modified, 1);
}

TEST(Advanced, AForbiddenCharacterLoadedIntoTheUserDefinedIdIsShownAtOnce)
{
    SettingsDialog d("FTP Path=ftp.example\r\nComputer Name=NULL\r\nRegistry Field=NULL\r\nUser Defined=PC:7\r\n");
    EXPECT_EQ(d.boxes.texts(), std::vector<std::string>{"Invalid character ':' in File Format field."});
    EXPECT_EQ(d.dialog.modified, 0);
}

TEST(Advanced, TypedTextsStopAtThirtyBytes)
{
    SettingsDialog d(Complete);
    d.screen.setControlText(Advanced::ZipPassword, "");
    d.type(Advanced::ZipPassword, std::string(35, 'p'), &Advanced::OnPasswordChanged);
    EXPECT_EQ(d.screen.controlText(Advanced::ZipPassword), std::string(30, 'p'));
    d.clickSource(Advanced::UserDefinedSource, Advanced::IdSource::UserDefined);
    d.screen.setControlText(Advanced::UserDefined, std::string(29, 'u') + "\xC3\xA9");
    d.dialog.OnUserDefinedChanged();
    EXPECT_EQ(d.screen.controlText(Advanced::UserDefined), std::string(29, 'u'));
}

TEST(Advanced, AFailedWriteIsReportedAndTheDialogStaysOpen)
{
    SettingsDialog d(Complete);
    const std::string before = d.folder.read(SettingsFile);
    ASSERT_TRUE(platform::setFileAttributes(".\\Morvane Package\\Current_Morvane.ini", FILE_ATTRIBUTE_READONLY));
    d.clickCheckBox(Advanced::PerformFtp, &Advanced::OnPerformFtpClicked);
    d.boxes.setNextAnswer(IDYES);
    d.dialog.OnOK();
    ASSERT_EQ(d.boxes.shown().size(), 2u);
    EXPECT_EQ(d.boxes.shown()[1].caption, "Error");
    EXPECT_NE(d.boxes.shown()[1].text.find("could not be written"), std::string::npos);
    EXPECT_FALSE(d.screen.endResult.has_value());
    EXPECT_EQ(d.folder.read(SettingsFile), before);
}

} // namespace
