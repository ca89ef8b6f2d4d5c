#include "platform/gui/Instance.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <memory>
#include <unistd.h>
#include <vector>

#include "platform/gui/Application.h"
#include "platform/gui/Queue.h"

namespace {

constexpr int kWaitMs = 1000;

std::vector<std::unique_ptr<QLocalServer>> gServers;

// Socket names fit any path limit: the user, then a hash of what is looked for.
QString SocketName(const AnsiString& key)
{
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : key)
        h = (h ^ c) * 1099511628211ull;
    return QStringLiteral("hanmud-%1-%2").arg(getuid()).arg(h, 16, 16, QLatin1Char('0'));
}

// The one name a search uses; empty when both parts are.
AnsiString SearchKey(const AnsiString& className, const AnsiString& title)
{
    if (!className.empty() && !title.empty())
        return "ct:" + className + "\n" + title;
    if (!className.empty())
        return "c:" + className;
    if (!title.empty())
        return "t:" + title;
    return AnsiString();
}

// Sends a request and reads the one-line answer; false when no copy answers.
bool Ask(const AnsiString& key, const char* request)
{
    if (key.empty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(SocketName(key));
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(request);
    socket.flush();
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(kWaitMs))
            return false;
    return socket.readLine().trimmed() == "ok";
}

void BringMainFormForward()
{
    TCustomForm* form = Application ? Application->MainForm() : nullptr;
    if (!form)
        return;
    if (form->WindowState() == wsMinimized)
        form->SetWindowState(wsNormal);
    form->Show();
    form->BringToFront();
}

void Answer(QLocalSocket* socket)
{
    QPointer<QLocalSocket> guard(socket);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [guard] {
        if (!guard || !guard->canReadLine())
            return;
        if (guard->readLine().trimmed() == "activate")
            QueueCall(BringMainFormForward);
        guard->write("ok\n");
        guard->flush();
        guard->disconnectFromServer();
    });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
}

}  // namespace

bool ListenAsInstance(const AnsiString& className, const AnsiString& title)
{
    bool any = false;
    for (const AnsiString& key : {SearchKey(className, ""), SearchKey("", title), SearchKey(className, title)}) {
        if (key.empty())
            continue;
        const QString name = SocketName(key);
        // A socket left by a copy that died answers nobody: take its place.
        if (!Ask(key, "ping\n"))
            QLocalServer::removeServer(name);
        auto server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server->listen(name))
            continue;
        QLocalServer* s = server.get();
        QObject::connect(s, &QLocalServer::newConnection, s, [s] {
            while (QLocalSocket* socket = s->nextPendingConnection())
                Answer(socket);
        });
        gServers.push_back(std::move(server));
        any = true;
    }
    return any;
}

bool FindInstance(const AnsiString& className, const AnsiString& title)
{
    return Ask(SearchKey(className, title), "ping\n");
}

bool ActivateInstance(const AnsiString& className, const AnsiString& title)
{
    return Ask(SearchKey(className, title), "activate\n");
}

void StopListeningAsInstance() { gServers.clear(); }
