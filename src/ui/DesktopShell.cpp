#include "ui/DesktopShell.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>

#include "platform/PlatformError.h"

namespace bw {

namespace {

constexpr int kQueryTimeoutMs = 3000;

// Qt 6.4 moves the item into the current directory, and answers success, when the data folder
// that holds the home trash is missing; making it first avoids that.
void EnsureDataFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) data = QDir::homePath() + "/.local/share";
    QDir().mkpath(data);
}

// The desktop file xdg-mime names as the type's default application; empty when none answers in
// time.
QString DefaultApplicationOf(const QString& type) {
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start("xdg-mime", {"query", "default", type});
    if (!query.waitForStarted(kQueryTimeoutMs)) return {};
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished(kQueryTimeoutMs);
        return {};
    }
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

}  // namespace

int TrashFailureNumber(const std::string& systemMessage) {
    // Qt tells the failed step only by the system's own text for its errno, in the same
    // language qt_error_string gives, so the errno is found by asking for each candidate's text.
    static const int candidates[] = {EPERM,  EACCES, EROFS,        ETXTBSY, ENOENT, ENOTDIR,
                                     ENOSPC, EDQUOT, EIO,          EBUSY,   ELOOP,  EMLINK,
                                     EEXIST, EINVAL, ENAMETOOLONG, ENODEV,  ENXIO};
    const QString message = QString::fromStdString(systemMessage);
    for (int e : candidates)
        if (!message.isEmpty() && message == qt_error_string(e)) return ErrorNumberForErrno(e);
    return err::kPathFileAccess;
}

bool IsTrashLocation(const std::string& trashPath) {
    const QString p = QString::fromStdString(trashPath);
    if (!QDir::isAbsolutePath(p)) return false;
    const QString folder = QFileInfo(p).absolutePath();
    if (!folder.endsWith("/files")) return false;
    const QString trash = QFileInfo(folder).absolutePath();
    const QString name = QFileInfo(trash).fileName();
    return name == "Trash" || name == QString(".Trash-%1").arg(::getuid());
}

void DesktopShell::MoveToTrash(const std::string& hostPath) {
    EnsureDataFolder();
    const QString path = QString::fromStdString(hostPath);
    QFile item(path);
    if (!item.moveToTrash())
        throw PlatformError::FromNumber(TrashFailureNumber(item.errorString().toStdString()));
    // After the move the file object names the item's place in the trash.
    const QString inTrash = item.fileName();
    const std::string where = inTrash.toStdString();
    if (IsTrashLocation(where)) return;
    // Anything that claims success but lands outside a trash is put back where it was.
    if (!inTrash.isEmpty() && QFileInfo::exists(inTrash) && !QFileInfo::exists(path))
        QFile::rename(inTrash, path);
    throw PlatformError::FromNumber(err::kPathFileAccess);
}

bool DesktopShell::HasAssociatedApplication(const std::string& hostPath) {
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(QString::fromStdString(hostPath));
    // An application for a parent type (text/plain for C source) opens the file as well.
    QStringList types{mime.name()};
    types += mime.allAncestors();
    for (const QString& type : types)
        if (!type.isEmpty() && !DefaultApplicationOf(type).isEmpty()) return true;
    return false;
}

void DesktopShell::Open(const std::string& hostPath) {
    QProcess opener;
    opener.setProgram("xdg-open");
    opener.setArguments({QString::fromStdString(hostPath)});
    // Detached with nothing of ours inherited, so it never holds a terminal or a caller's pipes.
    opener.setStandardInputFile(QProcess::nullDevice());
    opener.setStandardOutputFile(QProcess::nullDevice());
    opener.setStandardErrorFile(QProcess::nullDevice());
    if (!opener.startDetached()) throw PlatformError::FromNumber(err::kFileNotFound);
}

std::unique_ptr<Shell> MakeDesktopShell() { return std::make_unique<DesktopShell>(); }

}  // namespace bw
