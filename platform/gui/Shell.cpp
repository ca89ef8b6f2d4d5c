#include "platform/gui/Shell.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/Cp949.h"
#include "platform/core/StoredPath.h"

namespace {

// "scheme:" with a scheme of two or more letters (one letter is a drive: "C:\").
bool IsUrl(const AnsiString& text)
{
    size_t colon = text.find(':');
    if (colon == AnsiString::npos || colon < 2)
        return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = text[i];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return false;
    }
    return true;
}

QStringList SplitParams(const AnsiString& params)
{
    return QProcess::splitCommand(QString::fromStdString(Cp949ToUtf8(params)));
}

}  // namespace

int ShellExecute(QWidget*, const AnsiString& Verb, const AnsiString& File, const AnsiString& Params,
                 const AnsiString& Dir, int)
{
    const AnsiString verb = LowerCase(Verb);
    if (!verb.empty() && verb != "open" && verb != "explore")
        return SE_ERR_NOASSOC;
    QString workDir = Dir.empty() ? QString() : QString::fromStdString(NativePath(Dir));
    QString program;
    QStringList arguments;
    if (IsUrl(File)) {
        program = QStringLiteral("xdg-open");
        arguments << QString::fromStdString(Cp949ToUtf8(File));
    } else {
        std::string path = NativePath(File);
        struct stat st {};
        if (path.empty() || stat(path.c_str(), &st) != 0)
            return ERROR_FILE_NOT_FOUND;
        bool runnable = S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
        if (runnable && verb != "explore") {
            program = QString::fromStdString(path);
            arguments = SplitParams(Params);
        } else {
            program = QStringLiteral("xdg-open");
            arguments << QString::fromStdString(path);
        }
    }
    if (program == QLatin1String("xdg-open") && QStandardPaths::findExecutable(program).isEmpty())
        return SE_ERR_NOASSOC;
    if (!QProcess::startDetached(program, arguments, workDir))
        return SE_ERR_NOASSOC;
    return 42;
}
