// The socket against a loopback server, on a scripted peer, and its time-out on a manual clock.

#include "platform/gui/NetSocket.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/TimerService.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

// Runs the event loop until pred holds (the host lookup runs on a thread of its own, late on a
// loaded machine), or XWait.h's deadline passes.
template <class Pred>
bool WaitUntil(Pred pred)
{
    return LoopUntil(pred);
}

void SettleSockets()
{
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

const char* StatusName(TNetStatus s) { return s == nsFailed ? "failed" : s == nsTimedOut ? "timedout" : "cancelled"; }

// A peer that logs what the socket does and answers as the steps say.
class TScriptPeer : public INetPeer {
public:
    void Connecting(TNetSocket&, const AnsiString& host, int port) override
    {
        log += " CONNECT " + host + ":" + std::to_string(port);
    }
    void Sent(TNetSocket&, std::string_view bytes) override { log += " SENT " + std::string(bytes); }
    void Closed(TNetSocket&) override { log += " CLOSED"; }
    std::string log;
};

class NetSocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        socket = std::make_unique<TNetSocket>(nullptr);
        socket->Host = "127.0.0.1";
        socket->OnConnect = [this](TObject*) { Log("connect"); };
        socket->OnDisconnect = [this](TObject*) { Log("disconnect"); };
        socket->OnConnectionFailed = [this](TObject*) { Log("failed"); };
        socket->OnStatus = [this](TObject*, TNetStatus s) {
            Log(std::string("status:") + StatusName(s) + "/" + std::to_string(socket->LastError()));
        };
        socket->OnDataAvailable = [this](TObject*) {
            const AnsiString bytes = socket->Read(0);
            largest = std::max(largest, bytes.size());
            received += bytes;
            ++notifications;
        };
    }
    void TearDown() override
    {
        socket.reset();
        SetNetPeer(nullptr);
    }
    void Log(const std::string& s) { log += (log.empty() ? "" : " ") + s; }
    // A server on a free loopback port, the socket aimed at it.
    QTcpServer& Listen()
    {
        server = std::make_unique<QTcpServer>();
        EXPECT_TRUE(server->listen(QHostAddress::LocalHost, 0));
        socket->Port = server->serverPort();
        return *server;
    }
    QTcpSocket* Accept()
    {
        WaitUntil([&] { return server->hasPendingConnections(); });
        return server->nextPendingConnection();
    }

    TScriptPeer peer;  // outlives the socket, which tells it when it goes
    std::unique_ptr<TNetSocket> socket;
    std::unique_ptr<QTcpServer> server;
    std::string log;
    std::string received;
    size_t largest = 0;
    int notifications = 0;
};

TEST_F(NetSocketTest, ConnectsReceivesAndSends)
{
    Listen();
    socket->Connect();
    EXPECT_TRUE(socket->Connecting());
    ASSERT_TRUE(WaitUntil([&] { return socket->Connected(); }));
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);
    peer->write("hello");
    ASSERT_TRUE(WaitUntil([&] { return received == "hello"; }));
    EXPECT_EQ(socket->Write("ping"), 4);
    EXPECT_EQ(socket->SendBuffer("!"), 1);
    ASSERT_TRUE(WaitUntil([&] { return peer->bytesAvailable() >= 5; }));
    EXPECT_EQ(peer->readAll().toStdString(), "ping!");
    // More than may wait to be sent is dropped whole.
    EXPECT_EQ(socket->Write(std::string(TNetSocket::kMaxSendQueue + 1, 'x')), -1);
    EXPECT_EQ(socket->LastError(), 10055);
    EXPECT_EQ(log, "connect");
}

// Commands typed in a row waited for the host's delayed acknowledgement of the one before.
TEST_F(NetSocketTest, RegressionTypedCommandsWaitedForTheHostsAcknowledgement)
{
    Listen();
    socket->Connect();
    ASSERT_TRUE(WaitUntil([&] { return socket->Connected(); }));
    QTcpSocket* peer = Accept();
    ASSERT_NE(peer, nullptr);
    // Our end of the connection is the descriptor whose peer is the server's accepted socket.
    int noDelay = -1;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        const int fd = std::atoi(entry.path().filename().c_str());
        sockaddr_in peerAddress{};
        socklen_t size = sizeof peerAddress;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peerAddress), &size) != 0 ||
            peerAddress.sin_family != AF_INET || ntohs(peerAddress.sin_port) != server->serverPort())
            continue;
        socklen_t optionSize = sizeof noDelay;
        ASSERT_EQ(getsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, &optionSize), 0);
    }
    EXPECT_EQ(noDelay, 1);
}

TEST_F(NetSocketTest, RefusedConnectFails)
{
    Listen().close();
    socket->Connect();
    ASSERT_TRUE(WaitUntil([&] { return !log.empty(); }));
    EXPECT_EQ(log, "status:failed/10061 failed");
    EXPECT_EQ(socket->StatusText(), "Connection refused");
    EXPECT_FALSE(socket->Connecting());
}

TEST_F(NetSocketTest, HostCloseHandsOnEverythingIn64KiBPiecesThenDisconnects)
{
    Listen();
    socket->Connect();
    QTcpSocket* peer = Accept();
    ASSERT_TRUE(WaitUntil([&] { return socket->Connected(); }));
    const std::string big(200000, 'b');
    peer->write(big.data(), static_cast<qint64>(big.size()));
    peer->disconnectFromHost();
    ASSERT_TRUE(WaitUntil([&] { return log == "connect disconnect"; })) << log;
    EXPECT_EQ(received, big);
    EXPECT_LE(largest, TNetSocket::kMaxRead);
    EXPECT_GE(notifications, 4);
    EXPECT_FALSE(socket->Connected());
}

TEST_F(NetSocketTest, InvalidHostIsRetriedWithTheHostTheHandlerGives)
{
    Listen();
    socket->Host = "";  // fails without asking any name server
    socket->OnInvalidHost = [this](TObject*, bool& handled) {
        Log("invalid:" + std::to_string(socket->LastError()));
        socket->Host = "127.0.0.1";
        handled = true;
    };
    socket->Connect();
    ASSERT_TRUE(WaitUntil([&] { return socket->Connected(); })) << log;
    EXPECT_EQ(log, "invalid:11001 connect");
}

TEST_F(NetSocketTest, ConnectGivesUpAfterTheTimeOutOnTheClock)
{
    TManualTimerService clock;
    SetTimerService(&clock);
    Listen();
    socket->TimeOut = 5000;
    socket->Connect();
    clock.Advance(4999);
    EXPECT_EQ(log, "");
    clock.Advance(1);
    EXPECT_EQ(log, "status:timedout/10060 failed");
    EXPECT_EQ(socket->StatusText(), "Operation timed out");
    SettleSockets();
    EXPECT_EQ(log, "status:timedout/10060 failed");
    SetTimerService(nullptr);
}

struct TPeerCase {
    const char* name;
    const char* steps;  // port:N connect accept refuse badhost recv:TEXT write:TEXT close disconnect
    const char* log;    // the socket's events, then the peer's after "|"
};

const TPeerCase kPeerCases[] = {
    {"AcceptReceiveSend", "connect accept recv:abc write:x", "connect data:abc|CONNECT h:23 SENT x"},
    {"RefusedFails", "connect refuse", "status:failed/10061 failed|CONNECT h:23 CLOSED"},
    {"PortZeroFails", "port:0 connect", "status:failed/10049 failed|"},
    {"PortAboveTheRangeFails", "port:65536 connect", "status:failed/10049 failed|"},
    {"SecondConnectWhileConnectingDoesNothing", "connect connect accept connect", "connect|CONNECT h:23"},
    {"BadHostRetriedIsANewAttempt", "connect badhost accept", "invalid connect|CONNECT h:23 CLOSED CONNECT h2:23"},
    {"BadHostNotHandledFails", "connect badhost badhost",
     "invalid invalid status:failed/11001 failed|CONNECT h:23 CLOSED CONNECT h2:23 CLOSED"},
    {"DisconnectWhileConnectingCancels", "connect disconnect", "status:cancelled/10004|CONNECT h:23 CLOSED"},
    {"DisconnectWhileConnected", "connect accept disconnect write:x", "connect disconnect|CONNECT h:23 CLOSED"},
    {"HostCloseAfterData", "connect accept recv:bye close write:x", "connect data:bye disconnect|CONNECT h:23"},
    {"NothingIsSentBeforeTheConnect", "write:x connect write:y", "|CONNECT h:23"},
};

class NetSocketPeer : public NetSocketTest, public ::testing::WithParamInterface<TPeerCase> {};

TEST_P(NetSocketPeer, FollowsTheScript)
{
    SetNetPeer(&peer);
    socket->Host = "h";
    socket->Port = 23;
    socket->OnDataAvailable = [this](TObject*) { Log("data:" + socket->Read(0)); };
    // The first bad host is mended; the second is not.
    socket->OnInvalidHost = [this](TObject*, bool& handled) {
        Log("invalid");
        handled = socket->Host == "h";
        socket->Host = "h2";
    };
    std::istringstream steps(GetParam().steps);
    for (std::string step; steps >> step;) {
        const std::string arg = step.substr(std::min(step.find(':') + 1, step.size()));
        if (step.rfind("port:", 0) == 0)
            socket->Port = std::stoi(arg);
        else if (step == "connect")
            socket->Connect();
        else if (step == "accept")
            socket->PeerAccept();
        else if (step == "refuse")
            socket->PeerRefuse();
        else if (step == "badhost")
            socket->PeerBadHost();
        else if (step.rfind("recv:", 0) == 0)
            socket->PeerReceive(arg);
        else if (step.rfind("write:", 0) == 0)
            socket->Write(arg);
        else if (step == "close")
            socket->PeerClose();
        else if (step == "disconnect")
            socket->Disconnect();
        SettleSockets();
    }
    EXPECT_EQ(log + "|" + peer.log.substr(peer.log.empty() ? 0 : 1), GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(Scripts, NetSocketPeer, ::testing::ValuesIn(kPeerCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(NetSocketTest, HandlerMayFreeTheSocket)
{
    SetNetPeer(&peer);
    socket->Port = 23;
    socket->OnDataAvailable = [this](TObject*) { socket.reset(); };
    socket->Connect();
    socket->PeerAccept();
    SettleSockets();
    socket->PeerReceive(std::string(3 * TNetSocket::kMaxRead, 'x'));
    SettleSockets();
    EXPECT_EQ(socket, nullptr);
    EXPECT_EQ(peer.log, " CONNECT 127.0.0.1:23 CLOSED");
}

}  // namespace
