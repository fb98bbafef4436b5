// Sending the archive to the FTP server of the settings.
//
// The target text "host\folder\folder..." comes from "FTP Path" (path mode: every folder in
// turn) or, when that is empty, from "FTP Server" (server mode: "Output", then the first folder).
// A folder the server refuses is reported with the path message; anything that keeps the
// session from getting an answer (no server, refused login, time-out, a broken connection) with
// the client's own error text.

#include "engine/CollectionEngine.h"

#include "platform/FtpClient.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"
#include "store/PackageStore.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr const char* FtpPassword = "tallowfen";
constexpr const char* ServerModeFolder = "Output";

bool holdsControlCharacter(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

} // namespace

int CollectionEngine::transferArchive()
{
    PackageStore& packageStore = store();
    std::string target;
    const bool pathMode = packageStore.ReadSetting(settingsPath, "FTP Path", target);
    if (!pathMode)
        packageStore.ReadSetting(settingsPath, "FTP Server", target);

    const bool showBox = unattended == 0;
    const auto internetError = [&](const std::string& errorText) {
        packageStore.ReportMessage("FTP ERROR !!!  " + errorText + "\n", MB_OK | MB_ICONERROR, showBox, false);
        return 0;
    };
    const auto pathNotFound = [&] {
        packageStore.ReportMessage(" FTP Server path '\\" + target + "' cannot be found\n", MB_OK | MB_ICONERROR,
                                   showBox, false);
        return 0;
    };

    // Such a target could only be a mistake or an attempt to slip commands onto the control
    // connection; nothing of it is sent.
    if (holdsControlCharacter(target))
        return internetError("The FTP target holds a control character");

    std::string field;
    platform::FtpSession session;
    platform::FtpOutcome decisive = platform::FtpOutcome::Refused;
    if (pathMode) {
        const std::string components = target + "\\";
        if (session.connect(packageStore.GetField(components, 0, '\\', field), FtpPassword) !=
            platform::FtpOutcome::Done)
            return internetError(session.errorText());
        for (int i = 1;; ++i) {
            const std::string folder = packageStore.GetField(components, i, '\\', field);
            if (folder.empty())
                break;
            decisive = session.changeFolder(folder);
            if (decisive == platform::FtpOutcome::Failed)
                return internetError(session.errorText());
        }
    } else {
        // A server-mode target without any "\" is all host, with no folder after "Output".
        const bool split = target.find('\\') != std::string::npos;
        const std::string host = split ? packageStore.GetField(target, 0, '\\', field) : target;
        const std::string folder = split ? packageStore.GetField(target, 1, '\\', field) : std::string();
        if (session.connect(host, FtpPassword) != platform::FtpOutcome::Done)
            return internetError(session.errorText());
        if (session.changeFolder(ServerModeFolder) == platform::FtpOutcome::Failed)
            return internetError(session.errorText());
        decisive = session.changeFolder(folder);
        if (decisive == platform::FtpOutcome::Failed)
            return internetError(session.errorText());
    }
    if (decisive != platform::FtpOutcome::Done)
        return pathNotFound();

    std::string localPath;
    if (!platform::toLinuxPath(zipPath, localPath))
        return 0;
    const std::string remoteName = machineId + "_" + problemTime + ".zip";
    std::int64_t sent = 0;
    if (session.upload(localPath, remoteName, sent) != platform::FtpOutcome::Done)
        return 0;
    // The server confirmed the upload; where it also tells the size, that must be what was sent.
    std::int64_t stored = 0;
    if (session.remoteSize(remoteName, stored) == platform::FtpOutcome::Done && stored != sent)
        return 0;
    return 1;
}
