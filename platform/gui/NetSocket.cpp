#include "platform/gui/NetSocket.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/core/Cp949.h"
#include "platform/core/TimerService.h"

namespace {

INetPeer* gPeer = nullptr;
INetObserver* gObserver = nullptr;

// Received bytes held for the program; past this the host waits (TCP flow control).
constexpr size_t kMaxInbox = 1024 * 1024;

// The numbers the program shows and their English system texts.
struct TNetError {
    int Number;
    const char* Text;
};
constexpr TNetError kCancelled{10004, "Input/output operation canceled"};
constexpr TNetError kBadAddress{10049, "Cannot assign requested address"};
constexpr TNetError kNoBuffers{10055, "No buffer space available"};
constexpr TNetError kTimedOut{10060, "Operation timed out"};
constexpr TNetError kRefused{10061, "Connection refused"};
constexpr TNetError kHostNotFound{11001, "Name or service not known"};

TNetError ErrorOf(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return kRefused;
    case QAbstractSocket::RemoteHostClosedError: return {10054, "Connection reset by peer"};
    case QAbstractSocket::HostNotFoundError: return kHostNotFound;
    case QAbstractSocket::SocketAccessError: return {10013, "Permission denied"};
    case QAbstractSocket::SocketResourceError: return kNoBuffers;
    case QAbstractSocket::SocketTimeoutError: return kTimedOut;
    case QAbstractSocket::NetworkError: return {10051, "Network is unreachable"};
    case QAbstractSocket::AddressInUseError: return {10048, "Address already in use"};
    case QAbstractSocket::SocketAddressNotAvailableError: return kBadAddress;
    case QAbstractSocket::UnsupportedSocketOperationError: return {10047, "Address family not supported by protocol"};
    default: return {0, nullptr};  // Qt keeps the system's number to itself: its own is shown
    }
}

}  // namespace

void SetNetPeer(INetPeer* peer) { gPeer = peer; }

void SetNetObserver(INetObserver* observer) { gObserver = observer; }

struct TNetSocket::TImpl {
    enum TState { Idle, LookingUp, Opening, Open };

    explicit TImpl(TNetSocket& owner) : Self(owner) {}
    ~TImpl() { Drop(); }

    TNetSocket& Self;
    TState State = Idle;
    // Owns the queued calls and the Qt connections: they end with it.
    std::unique_ptr<QObject> Context = std::make_unique<QObject>();
    QTcpSocket* Socket = nullptr;  // child of Context
    INetPeer* Peer = nullptr;      // the peer of this attempt, if any
    int LookupId = -1;
    int TimerId = 0;
    AnsiString Inbox;
    bool PeerClosed = false;  // the host closed; what it sent is still being handed on
    bool Notifying = false;
    bool PumpQueued = false;
    uint64_t Taken = 0;  // bytes the program has read so far
    int Error = 0;
    AnsiString Status;
    std::shared_ptr<bool> Alive = std::make_shared<bool>(true);

    // Runs f from the event loop, unless the socket is gone by then.
    template <class F>
    void Post(F f)
    {
        QTimer::singleShot(0, Context.get(), std::move(f));
    }
    // Calls a handler; false when the socket was freed meanwhile.
    template <class Handler, class... Args>
    bool Fire(const Handler& handler, Args&&... args)
    {
        if (!handler)
            return true;
        const std::shared_ptr<bool> alive = Alive;
        handler(&Self, std::forward<Args>(args)...);
        return *alive;
    }

    void SetError(const TNetError& e, const QString& qtText = {})
    {
        Error = e.Number;
        Status = e.Text ? AnsiString(e.Text) : Utf8ToCp949(qtText.toStdString());
    }

    void StopTimer()
    {
        if (TimerId)
            TimerService().StopTimer(TimerId);
        TimerId = 0;
    }

    // Forgets the connection or attempt without a word to the program.
    void Drop()
    {
        StopTimer();
        if (LookupId >= 0)
            QHostInfo::abortHostLookup(LookupId);
        LookupId = -1;
        if (Socket) {
            Socket->disconnect(Context.get());
            Socket->abort();
            Socket->deleteLater();
            Socket = nullptr;
        }
        if (Peer && State != Idle) {
            INetPeer* peer = std::exchange(Peer, nullptr);
            peer->Closed(Self);
        }
        Peer = nullptr;
        State = Idle;
        Inbox.clear();
        PeerClosed = false;
    }

    void Start()
    {
        State = LookingUp;
        if (gObserver)
            gObserver->Connecting(Self, Self.Host, Self.Port);
        if (Self.TimeOut > 0)
            TimerId = TimerService().StartTimer(Self.TimeOut, [this] { TimedOut(); });
        if (Self.Port < 1 || Self.Port > 65535) {
            Post([this] { Fail(kBadAddress); });
            return;
        }
        Peer = gPeer;  // told only of attempts that reach it
        if (Peer) {
            Peer->Connecting(Self, Self.Host, Self.Port);
            return;
        }
        const QString host = QString::fromStdString(Cp949ToUtf8(Self.Host));
        QHostAddress address;
        if (address.setAddress(host)) {
            Post([this, address] { ConnectTo(address); });
            return;
        }
        LookupId = QHostInfo::lookupHost(host, Context.get(), [this](const QHostInfo& info) { LookedUp(info); });
    }

    void LookedUp(const QHostInfo& info)
    {
        LookupId = -1;
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            BadHost();
            return;
        }
        QHostAddress chosen = info.addresses().first();
        for (const QHostAddress& a : info.addresses())
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                chosen = a;
                break;
            }
        ConnectTo(chosen);
    }

    void ConnectTo(const QHostAddress& address)
    {
        if (State != LookingUp)
            return;
        State = Opening;
        Socket = new QTcpSocket(Context.get());
        Socket->setReadBufferSize(static_cast<qint64>(kMaxInbox));
        QObject::connect(Socket, &QTcpSocket::connected, Context.get(), [this] { Opened(); });
        QObject::connect(Socket, &QTcpSocket::readyRead, Context.get(), [this] { Refill(); });
        QObject::connect(Socket, &QTcpSocket::errorOccurred, Context.get(),
                         [this](QAbstractSocket::SocketError e) { SocketError(e); });
        QObject::connect(Socket, &QTcpSocket::disconnected, Context.get(), [this] { HostClosed(); });
        Socket->connectToHost(address, static_cast<quint16>(Self.Port));
    }

    void Opened()
    {
        if (State != LookingUp && State != Opening)
            return;
        StopTimer();
        State = Open;
        // Typed commands are small writes the player waits on: they go out at once rather than
        // wait for the host's acknowledgement of the one before.
        if (Socket)
            Socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        Fire(Self.OnConnect);
    }

    void BadHost()
    {
        StopTimer();
        SetError(kHostNotFound);
        bool handled = false;
        const AnsiString before = Self.Host;
        if (!Fire(Self.OnInvalidHost, handled))
            return;
        if (State != LookingUp)
            return;  // the handler disconnected or connected anew
        if (!handled) {
            Fail(kHostNotFound);
            return;
        }
        // A fresh attempt with the host the handler gave.
        Drop();
        Start();
    }

    // A connect that did not come about.
    void Fail(const TNetError& error, const QString& qtText = {})
    {
        Drop();
        SetError(error, qtText);
        if (Fire(Self.OnStatus, nsFailed))
            Fire(Self.OnConnectionFailed);
    }

    void TimedOut()
    {
        if (State == Idle || State == Open)
            return;
        Drop();
        SetError(kTimedOut);
        if (Fire(Self.OnStatus, nsTimedOut))
            Fire(Self.OnConnectionFailed);
    }

    void SocketError(QAbstractSocket::SocketError e)
    {
        if (State == Opening) {
            Fail(ErrorOf(e), Socket ? Socket->errorString() : QString());
            return;
        }
        if (State != Open || e == QAbstractSocket::RemoteHostClosedError)
            return;  // a close arrives as disconnected
        SetError(ErrorOf(e), Socket ? Socket->errorString() : QString());
        HostClosed();
    }

    // Moves what the socket holds into the inbox, as far as the inbox has room.
    void Refill()
    {
        if (!Socket)
            return;
        const qint64 room = static_cast<qint64>(kMaxInbox) - static_cast<qint64>(Inbox.size());
        if (room <= 0 || Socket->bytesAvailable() <= 0)
            return;
        Inbox += Socket->read(room).toStdString();
        QueuePump();
    }

    void HostClosed()
    {
        if (State != Open)
            return;
        if (Socket) {
            // What the host sent before it closed is handed on first.
            Inbox += Socket->readAll().toStdString();
            Socket->disconnect(Context.get());
            Socket->deleteLater();
            Socket = nullptr;
        }
        PeerClosed = true;
        QueuePump();
    }

    void QueuePump()
    {
        if (PumpQueued || Notifying)
            return;
        PumpQueued = true;
        Post([this] {
            PumpQueued = false;
            Pump();
        });
    }

    // One data notification, then the next from the event loop while bytes wait and the handler
    // takes them; after a host's close, OnDisconnect once everything was handed on (or the
    // handler stopped reading). The handler is never re-entered.
    void Pump()
    {
        if (State != Open)
            return;
        bool stalled = false;
        if (!Inbox.empty()) {
            // Bytes that arrive while the handler runs (inside a modal box, say) do not count
            // against it: it stalled only when it read nothing.
            const uint64_t taken = Taken;
            Notifying = true;
            if (!Fire(Self.OnDataAvailable))
                return;
            Notifying = false;
            if (State != Open)
                return;
            stalled = Taken == taken;
            Refill();
            if (!stalled && !Inbox.empty()) {
                QueuePump();
                return;
            }
        }
        if (PeerClosed && (Inbox.empty() || stalled)) {
            Inbox.clear();
            PeerClosed = false;
            State = Idle;
            Peer = nullptr;  // it closed itself
            Fire(Self.OnDisconnect);
        }
    }
};

TNetSocket::TNetSocket(TComponent* AOwner) : TComponent(AOwner), F(std::make_unique<TImpl>(*this)) {}

TNetSocket::~TNetSocket()
{
    *F->Alive = false;
    F.reset();
}

void TNetSocket::Connect()
{
    if (F->State != TImpl::Idle)
        return;
    F->Start();
}

void TNetSocket::Disconnect()
{
    switch (F->State) {
    case TImpl::Idle: return;
    case TImpl::Open:
        F->Drop();
        F->Post([this] { F->Fire(OnDisconnect); });
        return;
    default:
        F->Drop();
        F->SetError(kCancelled);
        F->Post([this] { F->Fire(OnStatus, nsCancelled); });
        return;
    }
}

bool TNetSocket::Connected() const { return F->State == TImpl::Open && !F->PeerClosed; }

bool TNetSocket::Connecting() const { return F->State == TImpl::LookingUp || F->State == TImpl::Opening; }

AnsiString TNetSocket::Read(size_t size)
{
    const size_t n = std::min(size == 0 ? kMaxRead : std::min(size, kMaxRead), F->Inbox.size());
    AnsiString bytes = F->Inbox.substr(0, n);
    F->Inbox.erase(0, n);
    F->Taken += n;
    return bytes;
}

int TNetSocket::Write(std::string_view text)
{
    if (!Connected())
        return -1;
    if (gObserver)
        gObserver->Written(*this, text);
    if (F->Peer) {
        F->Peer->Sent(*this, text);
        return static_cast<int>(text.size());
    }
    if (!F->Socket)
        return -1;
    if (static_cast<size_t>(F->Socket->bytesToWrite()) + text.size() > kMaxSendQueue) {
        F->SetError(kNoBuffers);
        return -1;
    }
    return static_cast<int>(F->Socket->write(text.data(), static_cast<qint64>(text.size())));
}

int TNetSocket::LastError() const { return F->Error; }

AnsiString TNetSocket::StatusText() const { return F->Status; }

void TNetSocket::PeerAccept()
{
    if (F->State == TImpl::LookingUp)
        F->Post([this] { F->Opened(); });
}

void TNetSocket::PeerRefuse()
{
    if (F->State == TImpl::LookingUp)
        F->Post([this] { F->Fail(kRefused); });
}

void TNetSocket::PeerBadHost()
{
    if (F->State == TImpl::LookingUp)
        F->Post([this] { F->BadHost(); });
}

void TNetSocket::PeerReceive(std::string_view bytes)
{
    if (F->State != TImpl::Open || F->PeerClosed)
        return;
    F->Inbox.append(bytes);
    F->QueuePump();
}

void TNetSocket::PeerClose()
{
    if (F->State != TImpl::Open || F->PeerClosed)
        return;
    F->PeerClosed = true;
    F->QueuePump();
}
