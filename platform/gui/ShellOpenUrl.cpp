// Opening a URL through Qt's desktop services, or through the hook that tests install.

#include <QDesktopServices>
#include <QUrl>
#include <utility>

#include "platform/core/Cp949.h"
#include "platform/gui/Shell.h"

namespace {
TShellOpenUrlHook& Hook()
{
    static TShellOpenUrlHook hook;
    return hook;
}
}  // namespace

TShellOpenUrlHook SetShellOpenUrlHook(TShellOpenUrlHook hook)
{
    std::swap(Hook(), hook);
    return hook;
}

bool ShellOpenUrl(const AnsiString& url)
{
    if (Hook()) {
        const TShellOpenUrlHook hook = Hook();
        return hook(url);
    }
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(Cp949ToUtf8(url))));
}
