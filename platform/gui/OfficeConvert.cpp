#include "platform/gui/OfficeConvert.h"

#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

#include "platform/core/Cp949.h"

namespace {

QString Program() { return QStandardPaths::findExecutable(QStringLiteral("soffice")); }

// One profile folder for the process's runs, removed when the process ends.
const QTemporaryDir& Profile()
{
    static const auto profile =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/hanmud-office-XXXXXX"));
    return *profile;
}

}  // namespace

bool OfficeInstalled() { return !Program().isEmpty(); }

std::string ConvertWithOffice(const std::string& Source, const std::string& Filter, const std::string& Folder,
                              int TimeoutMs)
{
    const QString program = Program();
    if (program.isEmpty())
        throw EOfficeMissing("LibreOffice is not installed");
    if (!Profile().isValid())
        throw EOleException("Cannot make the office profile folder");
    const QString source = QString::fromStdString(Source);
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    // Its own process group, so that a run that overruns is stopped with every process it made.
    office.setChildProcessModifier([] { setpgid(0, 0); });
    office.start(program,
                 {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(Profile().path()).toString(),
                  QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                  QStringLiteral("--nolockcheck"), QStringLiteral("--convert-to"), QString::fromStdString(Filter),
                  QStringLiteral("--outdir"), QString::fromStdString(Folder), source});
    if (!office.waitForStarted(TimeoutMs))
        throw EOleException("LibreOffice did not start");
    if (!office.waitForFinished(TimeoutMs)) {
        const qint64 group = office.processId();
        if (group > 0)
            kill(-static_cast<pid_t>(group), SIGKILL);
        office.waitForFinished(5000);
        throw EOleException("LibreOffice did not finish in time");
    }
    const QString extension = QString::fromStdString(Filter).section(u':', 0, 0);
    const QString made =
        QDir(QString::fromStdString(Folder)).filePath(QFileInfo(source).completeBaseName() + u'.' + extension);
    if (office.exitStatus() != QProcess::NormalExit || office.exitCode() != 0 || !QFileInfo::exists(made))
        throw EOleException("LibreOffice could not convert the file: " +
                            Utf8ToCp949(QString::fromLocal8Bit(office.readAll()).trimmed().toStdString()));
    return made.toStdString();
}
