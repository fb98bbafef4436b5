#include "MorvaneDlg.h"

#include "AboutDlg.h"
#include "Advanced.h"
#include "MachineId.h"
#include "MessageText.h"

#include "Morvane/MorvaneLib.h"
#include "platform/Clock.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace {

// The window's texts, by their string-table numbers.
constexpr char SilentDescription[] = "Files collected in silent mode";                                   // 29
constexpr char WindowTitle[] = "Morvane";                                                                // 32
constexpr char AboutMenuText[] = "&About Morvane";                                                       // 101
constexpr char UserGuideMenuText[] = "Morvane User &Guide";                                              // 103
constexpr char InvalidDate[] = "Missing or invalid value in the Date field.";                            // 3
constexpr char InvalidTime[] = "Missing or invalid value in the Time field.";                            // 4
constexpr char NoHelpFile[] = "Morvane help file does not exist";                                        // 1086
constexpr char NoPackageSelected[] = "No packages are selected.\nDo you want to continue?";              // 1087
constexpr char CollectedWithoutFtp[] = "Performed files collection for packages without FTP";            // 1111
constexpr char CollectedAndSent[] = "Performed files collection for packages and sent to FTP server %s"; // 1112
constexpr char TransferFlagOff[] = " The 'Transfer to FTP Server' flag is off and data will only be saved "
                                   "locally.\n Do you want to continue?";                                // 1126
constexpr char NotAllPackagesSelected[] = " Not all packages are selected for file collection.\n Do you "
                                          "want to continue?\n";                                         // 1127
constexpr char CollectTip[] = "Perform file collection";                                                 // 1113
constexpr char CloseOptionsTip[] = "Close the Options dialog";                                           // 1114
constexpr char OpenOptionsTip[] = "Open the Options dialog";                                             // 1115
constexpr char ResetTip[] = "Reset Config and packages";

constexpr char CollapsedCaption[] = "&Options >>";
constexpr char ExpandedCaption[] = "&Options <<";

struct ToolTip {
    int control;
    const char* text;
};
constexpr std::array<ToolTip, 11> CommandToolTips = {{
    {MorvaneDlg::RestorePackagesButton, "Restore package to default contents"},   // 1116
    {MorvaneDlg::SelectPackagesButton, "Select packages for file collection"},    // 1117
    {MorvaneDlg::NewPackageButton, "Create a new package"},                       // 1118
    {MorvaneDlg::TemporaryPackageButton, "Create a temporary package"},           // 1119
    {MorvaneDlg::DeletePackageButton, "Delete a package"},                        // 1120
    {MorvaneDlg::AddButton, "Add a new file or registry path"},                   // 1121
    {MorvaneDlg::DeleteButton, "Delete a file or registry path"},                 // 1122
    {MorvaneDlg::UpdateButton, "Update definition of a file or registry path"},   // 1123
    {MorvaneDlg::RestoreListButton, "Restore the list to default contents"},      // 1124
    {MorvaneDlg::SettingsButton, "Open the Settings dialog"},                     // 1125
    {MorvaneDlg::ResetButton, ResetTip},
}};

constexpr std::array<int, 12> CommandButtons = {
    MorvaneDlg::CollectButton,         MorvaneDlg::OptionsButton,       MorvaneDlg::NewPackageButton,
    MorvaneDlg::DeletePackageButton,   MorvaneDlg::RestorePackagesButton, MorvaneDlg::TemporaryPackageButton,
    MorvaneDlg::RestoreListButton,     MorvaneDlg::AddButton,           MorvaneDlg::DeleteButton,
    MorvaneDlg::UpdateButton,          MorvaneDlg::SettingsButton,      MorvaneDlg::SelectPackagesButton,
};

DateTime currentTime()
{
    const platform::LocalTime time = platform::localTime();
    return {time.year, time.month, time.day, time.hour, time.minute, time.second};
}

// A number in decimal, with a leading 0 when it is 9 or less.
std::string twoDigits(int number)
{
    return number <= 9 ? "0" + std::to_string(number) : std::to_string(number);
}

std::string trimBlanks(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

MorvaneDlg::MorvaneDlg(PackageStore& store, MessageBoxService* messages, CollectionEntry collect)
    : problemDate(currentTime()), problemTime(problemDate), now(problemDate), m_store(store), m_messages(messages),
      m_collect(collect ? std::move(collect) : CollectionEntry(&morvane::funcMorvaneLib))
{
}

void MorvaneDlg::OnInitDialog()
{
    UpdateData(false);
    if (*AboutMenuText)
        screen().appendMenuCommand(AboutCommand, AboutMenuText);
    if (*UserGuideMenuText)
        screen().appendMenuCommand(UserGuideCommand, UserGuideMenuText);
    now = currentTime();
    optionsCollapsed = 0;
    m_store.PrepareCurrentCopies();
    settingsPath = m_store.CurrentSettingsPath();
    m_store.DeleteCurrentPackage(TemporaryPackage);
    m_store.RemoveFromSelection(TemporaryPackage);
    FillPackageCombo();
    SetupTabsAndColumns();
    SetProgress(0);
    screen().setToolTip(CollectButton, CollectTip);
    screen().setToolTip(OptionsButton, optionsCollapsed ? OpenOptionsTip : CloseOptionsTip);
    for (const ToolTip& tip : CommandToolTips)
        screen().setToolTip(tip.control, tip.text);
    ToggleOptions();
    screen().setTitle(WindowTitle);
}

void MorvaneDlg::UpdateData(bool save)
{
    if (save) {
        problemDate = screen().controlDateTime(DatePicker);
        problemTime = screen().controlDateTime(TimePicker);
        now = screen().controlDateTime(NowPicker);
        description = screen().controlText(DescriptionEdit);
        statusText = screen().controlText(StatusLine);
        return;
    }
    screen().setControlDateTime(DatePicker, problemDate);
    screen().setControlDateTime(TimePicker, problemTime);
    screen().setControlDateTime(NowPicker, now);
    screen().setControlText(DescriptionEdit, description);
    screen().setControlText(StatusLine, statusText);
}

int MorvaneDlg::ShowMessage(const std::string& text, unsigned int style, int kind, int show)
{
    if (text.empty() || show == 0 || kind < 0 || kind > 2 || !m_messages)
        return -1;
    return m_messages->show(static_cast<MessageKind>(kind), text, style);
}

void MorvaneDlg::EnableCommands(bool enable)
{
    for (int button : CommandButtons)
        screen().enableControl(button, enable);
}

void MorvaneDlg::EnableCloseCommand(bool enable)
{
    closeEnabled = enable;
    screen().enableClose(enable);
}

void MorvaneDlg::ToggleOptions()
{
    screen().setVisible(false);
    if (optionsCollapsed == 0) {
        screen().resize(Width, CollapsedHeight);
        screen().setControlText(OptionsButton, CollapsedCaption);
        screen().setToolTip(OptionsButton, OpenOptionsTip);
        optionsCollapsed = 1;
    } else {
        screen().resize(Width, ExpandedHeight);
        screen().setControlText(OptionsButton, ExpandedCaption);
        screen().setToolTip(OptionsButton, CloseOptionsTip);
        optionsCollapsed = 0;
    }
    screen().centreOnScreen();
    screen().setVisible(true);
}

bool MorvaneDlg::IsProblemTimeInFuture() const
{
    const auto selected = std::tie(problemDate.year, problemDate.month, problemDate.day, problemTime.hour,
                                   problemTime.minute);
    const auto current = std::tie(now.year, now.month, now.day, now.hour, now.minute);
    return selected > current;
}

void MorvaneDlg::OnDateChanged()
{
    const DateTime previousDate = problemDate;
    UpdateData(true);
    now = currentTime();
    if (!IsProblemTimeInFuture())
        return;
    if (std::tie(problemDate.year, problemDate.month, problemDate.day) > std::tie(now.year, now.month, now.day)) {
        ShowMessage(InvalidDate, MB_ICONHAND, 0, 1);
        problemDate = previousDate;
        screen().setControlDateTime(DatePicker, problemDate);
        return;
    }
    OnTimeChanged();
}

void MorvaneDlg::OnTimeChanged()
{
    UpdateData(true);
    now = currentTime();
    if (!IsProblemTimeInFuture())
        return;
    if (problemTime.hour > now.hour)
        problemTime.hour = now.hour;
    else
        problemTime.minute = now.minute;
    ShowMessage(InvalidTime, MB_ICONHAND, 0, 1);
    screen().setControlDateTime(TimePicker, problemTime);
}

bool MorvaneDlg::Confirm(const std::string& text, unsigned int style, int kind)
{
    if (ShowMessage(text, style, kind, 1) == IDYES)
        return true;
    EnableCloseCommand(true);
    return false;
}

void MorvaneDlg::OnCollect()
{
    WaitCursor wait(screen());
    EnableCloseCommand(false);
    if (!settingsOpened) {
        std::string performFtp;
        m_store.ReadSetting(settingsPath, "Perform FTP", performFtp);
        if (performFtp == "0" && !Confirm(TransferFlagOff, MB_YESNO | MB_ICONEXCLAMATION, 1))
            return;
        std::string passwordEnable;
        m_store.ReadSetting(settingsPath, "Password Enable", passwordEnable);
        if (passwordEnable == "1") {
            std::string password;
            m_store.ReadSetting(settingsPath, "Password Value", password);
            if (trimBlanks(password).empty() && !Confirm(MissingPasswordText, MB_YESNO | MB_ICONHAND, 0))
                return;
        }
    }
    if (!selectionOpened) {
        std::string packages;
        const int current = m_store.ListCurrentPackages(packages);
        std::string selection;
        int selected = 0;
        m_store.ReadSelection(settingsPath, selection, selected);
        if (selected == 0) {
            if (!Confirm(NoPackageSelected, MB_YESNO | MB_ICONEXCLAMATION, 1))
                return;
        } else if (current > selected && !Confirm(NotAllPackagesSelected, MB_YESNO | MB_ICONEXCLAMATION, 1)) {
            return;
        }
    }
    statusText.clear();
    screen().setControlText(StatusLine, statusText);
    SetProgress(0);
    EnableCommands(false);
    StartCollection(false);
}

void MorvaneDlg::OnSettings()
{
    settingsOpened = 1;
    Advanced settings(m_store, m_messages);
    screen().runModal(settings);
}

std::string MorvaneDlg::ProblemDateText() const
{
    return twoDigits(problemDate.year) + "_" + twoDigits(problemDate.month) + "_" + twoDigits(problemDate.day) + "_" +
           twoDigits(problemTime.hour) + "_" + twoDigits(problemTime.minute);
}

void MorvaneDlg::StartCollection(bool silent)
{
    silentMode = silent ? 1 : 0;
    std::string problemDateText;
    if (silent) {
        description = SilentDescription;
        std::string timeText;
        problemDateText = m_store.MakeTimestamp(timeText);
    } else {
        problemDateText = ProblemDateText();
        description = screen().controlText(DescriptionEdit);
    }
    m_collect(description, std::string(), problemDateText, silentMode);
}

void MorvaneDlg::OnLibraryMessage(const LibraryMessage& record)
{
    WaitCursor wait(screen());
    UpdateData(true);
    SetProgress(record.progress);
    std::string status = record.statusText;
    status.erase(std::remove(status.begin(), status.end(), '\n'), status.end());
    if (record.updateStatus != 0 && status.substr(0, 7) != statusText.substr(0, 7))
        statusText = status;
    UpdateData(false);
    HandleCollectionEvent(record.eventCode, record.messageText, record.ftpSent);
    if (attached())
        UpdateData(false);
}

void MorvaneDlg::HandleCollectionEvent(int eventCode, const std::string& messageText, int ftpSent)
{
    switch (eventCode) {
    case 0: {
        if (!silentMode)
            SetProgress(100);
        std::string performFtp;
        m_store.ReadSetting(settingsPath, "Perform FTP", performFtp);
        std::string target;
        m_store.ReadSetting(settingsPath, "FTP Path", target);
        if (target.empty())
            m_store.ReadSetting(settingsPath, "FTP Server", target);
        std::string entry;
        if (performFtp != "1")
            entry = CollectedWithoutFtp;
        else if (ftpSent != 0)
            entry = withArguments(CollectedAndSent, {target});
        m_store.AppendLogLine(entry, false);
        EnableCommands(true);
        screen().endDialog(IDOK);
        break;
    }
    case 1:
    case 3:
        ShowMessage(messageText, MB_ICONHAND, 0, 1);
        EnableCommands(true);
        EnableCloseCommand(true);
        SetProgress(0);
        break;
    case 2: {
        ShowMessage(messageText, MB_ICONHAND, 0, 1);
        MachineId machineId(m_store, m_messages);
        const int result = screen().runModal(machineId);
        SetProgress(0);
        // Collect runs again from its first question. Refused there, it gives Close back but
        // not the commands the first run took; the window goes back to idle then, as it does
        // when the dialog ends any other way than OK.
        if (result == IDOK) {
            OnCollect();
            if (closeEnabled)
                EnableCommands(true);
        } else {
            EnableCommands(true);
            EnableCloseCommand(true);
        }
        break;
    }
    default:
        break;
    }
}

void MorvaneDlg::OnSysCommand(int command)
{
    if (command == UserGuideCommand) {
        if (!m_store.OpenHelpDocument())
            ShowMessage(NoHelpFile, MB_ICONHAND, 0, 1);
        return;
    }
    if ((command & ~0xF) == AboutCommand) {
        AboutDlg about(m_store);
        screen().runModal(about);
    }
}

bool MorvaneDlg::OnCancel()
{
    if (!closeEnabled)
        return false;
    screen().endDialog(MessageAnswer(MessageButton::Cancel));
    return true;
}

void MorvaneDlg::SetProgress(int position)
{
    screen().setControlValue(ProgressBar, position);
}
