// The character window's connection: connecting (connect timer, Enter, a double click on the
// terminal), the socket's events with their texts in the terminal and in status panel 7, the
// received data walked through the telnet protocol into the terminal, and the routes by which
// text goes to the host.

#include <utility>

#include "app/core/StatusBar.h"
#include "app/forms/AnsiTerminal.h"
#include "controls/core/TimerList.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/NetSocket.h"
#include "terminal/control/Terminal.h"

namespace {

// Terminal texts, cp949.
// " 에 접속 시도중입니다."
constexpr const char* kConnecting = " \xBF\xA1 \xC1\xA2\xBC\xD3 \xBD\xC3\xB5\xB5\xC1\xDF\xC0\xD4\xB4\xCF\xB4\xD9.";
// "접속이 끊어졌습니다."
constexpr const char* kDisconnected = "\xC1\xA2\xBC\xD3\xC0\xCC \xB2\xF7\xBE\xEE\xC1\xB3\xBD\xC0\xB4\xCF\xB4\xD9.";
// "접속에 실패했습니다."
constexpr const char* kFailed = "\xC1\xA2\xBC\xD3\xBF\xA1 \xBD\xC7\xC6\xD0\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.";
// As the window has always spelt it.
constexpr const char* kCancelled = "Input/ouput operation canceled";
constexpr const char* kTimedOut = "Operation timed out";
constexpr const char* kLineEnd = "\n\r";
// "호스트가 받지 않아 보낼 글을 버렸습니다."
constexpr const char* kSendDropped = "\xC8\xA3\xBD\xBA\xC6\xAE\xB0\xA1 \xB9\xDE\xC1\xF6 \xBE\xCA\xBE\xC6 "
                                     "\xBA\xB8\xB3\xBE \xB1\xDB\xC0\xBB \xB9\xF6\xB7\xC8\xBD\xC0\xB4\xCF\xB4\xD9.";

// Host text taken a notification: keys typed while a host pours text in wait for one such piece
// (a few milliseconds, even under a thousand triggers), not for the socket's whole read; smaller
// pieces cost throughput in notifications.
constexpr size_t kHostTextPerRead = 16 * 1024;

}  // namespace

void TAnsiTerminalForm::BindSocket()
{
    // Every socket event is one of the window's handlers.
    auto guarded = [this](auto handler) {
        return [this, handler](TObject*, auto&&... args) {
            if (FClosed)
                return;
            TBusy busy(*this);
            (this->*handler)(args...);
        };
    };
    FSocket->OnConnect = guarded(&TAnsiTerminalForm::SocketConnect);
    FSocket->OnDisconnect = guarded(&TAnsiTerminalForm::SocketDisconnect);
    FSocket->OnConnectionFailed = guarded(&TAnsiTerminalForm::SocketConnectionFailed);
    FSocket->OnDataAvailable = guarded(&TAnsiTerminalForm::SocketDataAvailable);
    FSocket->OnStatus = [this](TObject*, TNetStatus status) {
        if (FClosed)
            return;
        TBusy busy(*this);
        SocketStatus(status);
    };
    FSocket->OnInvalidHost = [this](TObject*, bool& handled) {
        if (FClosed)
            return;
        TBusy busy(*this);
        SocketInvalidHost(handled);
    };
}

bool TAnsiTerminalForm::Connected() const { return FSocket->Connected(); }

bool TAnsiTerminalForm::ServerEchoes() const { return FTelnet.ServerEchoes(); }

void TAnsiTerminalForm::ConnectHost()
{
    FConnectTimer->SetEnabled(false);
    if (FClosed || !FCharBook || FSocket->Connected())
        return;
    FSocket->Host = FCharBook->Host;
    FSocket->Port = FCharBook->Port;
    FSocket->TimeOut = 5000;
    ShowOwnMessage(FCharBook->Host + ":" + std::to_string(FCharBook->Port) + kConnecting);
    FSocket->Connect();
}

void TAnsiTerminalForm::DisconnectHost()
{
    if (FSocket->Connected())
        FSocket->Disconnect();
}

void TAnsiTerminalForm::SocketConnect()
{
    // A new connection starts the protocol afresh.
    FTelnet.Reset();
    FHeldLead.clear();
    FSendDropped = false;
    SetPanelText(kPanelStatus, StatusText::Connected);
    FConnectTime = TimeSeconds();
}

void TAnsiTerminalForm::SocketDisconnect()
{
    ShowOwnMessage(kDisconnected);
    FConnectTimer->SetEnabled(FCharBook && FCharBook->GetReConnect());
    FConnectTime = 0;
    SetPanelText(kPanelStatus, StatusText::NotConnected);
}

void TAnsiTerminalForm::SocketConnectionFailed()
{
    ShowOwnMessage(kFailed);
    FConnectTimer->SetEnabled(FCharBook && FCharBook->GetReConnect());
}

void TAnsiTerminalForm::SocketStatus(int status)
{
    if (status == nsCancelled)
        ShowOwnMessage(kCancelled);
    else if (status == nsTimedOut)
        ShowOwnMessage(kTimedOut);
    SetPanelText(kPanelStatus, SocketStatusText(FSocket->LastError(), FSocket->StatusText()));
}

void TAnsiTerminalForm::SocketInvalidHost(bool& Handled)
{
    AnsiString host = FCharBook ? FCharBook->Host : FSocket->Host;
    if (!InputQuery("Invalid Host!(" + std::to_string(FSocket->LastError()) + ")", "Specify a new host:", host))
        return;
    if (FClosed)
        return;
    // This attempt only: the entry keeps its host.
    FSocket->Host = host;
    Handled = true;
}

// The socket never calls this while it runs, so data that arrives meanwhile (while a trigger's
// message box is open, say) waits in the socket and is walked afterwards, in order; what this call
// leaves comes with the socket's next notification, after the events waiting by then.
void TAnsiTerminalForm::SocketDataAvailable()
{
    const AnsiString data = FSocket->Read(kHostTextPerRead);
    FTelnet.Feed(data);
}

// A read that ends on the first byte of a pair keeps that byte back until its second arrives, so
// text the window writes meanwhile (its messages, an echoed line) starts on a whole character.
void TAnsiTerminalForm::TelnetText(std::string_view text)
{
    if (FClosed)
        return;
    AnsiString chunk = std::exchange(FHeldLead, AnsiString());
    chunk += text;
    if (!chunk.empty() && TTerminalCore::IsHanLeadByte(chunk)) {
        FHeldLead.assign(1, chunk.back());
        chunk.pop_back();
    }
    if (!chunk.empty())
        FTerminal->DecodeText(chunk);
}

// The connection's messages go through the trigger scan like host text. A first byte the host
// left without its second (the connection ended in the middle of a pair) is dropped first.
void TAnsiTerminalForm::ShowOwnMessage(const AnsiString& text)
{
    FHeldLead.clear();
    FTerminal->DecodeText(text + kLineEnd);
}

void TAnsiTerminalForm::TelnetAnswer(std::string_view bytes) { WriteSocket(bytes); }

// A host that stops reading fills the socket's send queue; what it then refuses is lost, and the
// player is told so once for the connection (a host that reads slowly would otherwise bring the
// message again at every line).
void TAnsiTerminalForm::WriteSocket(std::string_view bytes)
{
    if (!FSocket->Connected())
        return;
    if (FSocket->Write(bytes) < 0 && !std::exchange(FSendDropped, true) && !FClosed)
        FTerminal->DecodeLocalText(AnsiString(kLineEnd) + kSendDropped + kLineEnd);
}

void TAnsiTerminalForm::SendText(const AnsiString& text)
{
    if (!FSocket->Connected())
        return;
    if (FSocket->Port == 23)
        WriteSocket(text);
    else
        FTerminal->PutDirectString(text);
}

// A line ends with the telnet line end, CR LF: a game waits for the LF after a bare CR and takes
// the next line as part of this one. Enter typed on the terminal, its double click and a clicked
// prompt ("Y" CR, or a CR alone) end with a bare CR.
void TAnsiTerminalForm::TerminalPutString(const AnsiString& text)
{
    if (!text.empty() && text.back() == '\r')
        WriteSocket(text + '\n');
    else
        WriteSocket(text);
}

void TAnsiTerminalForm::TerminalPutChar(char ch) { TerminalPutString(AnsiString(1, ch)); }

void TAnsiTerminalForm::TerminalAfterPut(const AnsiString& text) { FScript->ScanReceivedText(text); }

void TAnsiTerminalForm::TerminalDblClick()
{
    if (!FSocket->Connected()) {
        TBusy busy(*this);
        ConnectHost();
    }
}
