// The character window on a real loopback connection whose host stops reading: what the socket's
// send queue cannot take is lost, and the player is told so once.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <string>

#include "GuiTestSupport.h"
#include "app/forms/AnsiTerminal.h"
#include "platform/core/TimerService.h"
#include "platform/gui/NetSocket.h"
#include "terminal/control/Terminal.h"

namespace {

// A host on 127.0.0.1 that accepts one connection and never reads from it.
class TDeafHost {
public:
    TDeafHost()
    {
        FListen = socket(AF_INET, SOCK_STREAM, 0);
        // A small receive buffer: the kernel holds little of what is never read.
        const int small = 4096;
        setsockopt(FListen, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(FListen, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(FListen, 1) == 0 &&
            getsockname(FListen, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            Port = ntohs(address.sin_port);
    }
    ~TDeafHost()
    {
        if (FAccepted >= 0)
            close(FAccepted);
        close(FListen);
    }
    void Accept() { FAccepted = accept(FListen, nullptr, nullptr); }
    int Port = 0;

private:
    int FListen = -1;
    int FAccepted = -1;
};

int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(AnsiTerminalSendQueue, RegressionTextDroppedByAFullSendQueueIsReported)
{
    TestApplication();
    TManualTimerService clock(0);
    SetTimerService(&clock);
    TDeafHost host;
    ASSERT_NE(host.Port, 0);
    auto entry = std::make_shared<TCharBooks>();
    entry->Host = "127.0.0.1";
    entry->Port = host.Port;
    auto* window = new TAnsiTerminalForm(nullptr, entry);
    window->ConnectHost();
    ASSERT_TRUE(WaitUntil([&] { return window->Connected(); }, "the connection to the deaf host"));
    host.Accept();

    // 16 MiB typed while the host reads nothing: far past the 1 MiB queue and the kernel's buffers.
    const AnsiString line(64 * 1024 - 2, 'x');
    for (int i = 0; i < 256; ++i) {
        window->SendText(line + "\r\n");
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    std::string screen;
    const TTerminalCore& core = window->Terminal()->Core();
    for (int y = 0; y <= core.CurY(); ++y)
        screen += core.Data().Strings(y) + "\n";
    // "호스트가 받지 않아 보낼 글을 버렸습니다."
    EXPECT_EQ(Count(screen, "\xC8\xA3\xBD\xBA\xC6\xAE\xB0\xA1 \xB9\xDE\xC1\xF6 \xBE\xCA\xBE\xC6"), 1) << screen;
    delete window;
    SetTimerService(nullptr);
}

}  // namespace
