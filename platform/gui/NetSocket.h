#pragma once
// The framework's socket component: one TCP connection to a game, driven by the GUI event loop.
// Connect looks the host up, connects without blocking and gives up after TimeOut milliseconds
// (on the timer service, so tests run it on a manual clock). Every event runs from the event
// loop, never inside a call of the program's, and a handler may free the socket.
//
// Error numbers are the Windows socket numbers the program shows (10061 refused, 11001 host not
// found, ...); status texts are the English system texts.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/Component.h"

class TNetSocket;

// Why OnStatus fires: a failed connect (OnConnectionFailed follows), a connect that took longer
// than TimeOut (OnConnectionFailed follows too) or one cancelled by Disconnect.
enum TNetStatus { nsFailed, nsTimedOut, nsCancelled };

using TNetStatusEvent = std::function<void(TObject* Sender, TNetStatus Status)>;
using TInvalidHostEvent = std::function<void(TObject* Sender, bool& Handled)>;

// Stands in for the network when installed: sockets that connect while it is installed talk to
// it instead, and it answers through the socket's Peer operations. It must outlive them.
class INetPeer {
public:
    virtual ~INetPeer() = default;
    // A connect attempt (a retry after OnInvalidHost is a new one).
    virtual void Connecting(TNetSocket& socket, const AnsiString& host, int port) = 0;
    // One write call of the program's, whole.
    virtual void Sent(TNetSocket& socket, std::string_view bytes) = 0;
    // The program closed the connection or gave the attempt up; the socket may be going away.
    virtual void Closed(TNetSocket& socket) = 0;
};
// Null goes back to the real network.
void SetNetPeer(INetPeer* peer);

// Hears every connect attempt and every write call of every socket, on the network or a peer
// (drivers print them). It must outlive the sockets that report to it.
class INetObserver {
public:
    virtual ~INetObserver() = default;
    virtual void Connecting(TNetSocket& socket, const AnsiString& host, int port) = 0;
    virtual void Written(TNetSocket& socket, std::string_view bytes) = 0;
};
// Null removes it.
void SetNetObserver(INetObserver* observer);

class TNetSocket : public TComponent {
public:
    static constexpr size_t kMaxRead = 64 * 1024;         // per data notification
    static constexpr size_t kMaxSendQueue = 1024 * 1024;  // waiting to be sent

    explicit TNetSocket(TComponent* AOwner);
    ~TNetSocket() override;

    AnsiString Host;
    int Port = 0;
    uint32_t TimeOut = 10000;  // milliseconds; 0 waits for ever
    int ReportLevel = 0;

    TNotifyEvent OnConnect;
    TNotifyEvent OnDisconnect;
    TNotifyEvent OnConnectionFailed;
    TNotifyEvent OnDataAvailable;
    TNetStatusEvent OnStatus;
    // The host could not be looked up. A handler that sets Host and Handled makes the socket try
    // again with the new host; otherwise the connect fails.
    TInvalidHostEvent OnInvalidHost;

    // Starts connecting to Host:Port; does nothing while connected or connecting.
    void Connect();
    // Closes the connection (OnDisconnect follows) or cancels a connect under way.
    void Disconnect();
    bool Connected() const;
    bool Connecting() const;

    // Received bytes: up to size (0: all that waits), at most kMaxRead.
    AnsiString Read(size_t size = 0);
    // Sends bytes while connected; returns how many were taken, or -1 when not connected or when
    // they would pass kMaxSendQueue (then dropped whole, LastError 10055).
    int Write(std::string_view text);
    int SendBuffer(std::string_view bytes) { return Write(bytes); }

    int LastError() const;
    AnsiString StatusText() const;

    // The installed peer's answers to this socket's attempt.
    void PeerAccept();
    void PeerRefuse();
    void PeerBadHost();
    void PeerReceive(std::string_view bytes);
    void PeerClose();

    struct TImpl;

private:
    std::unique_ptr<TImpl> F;
};
