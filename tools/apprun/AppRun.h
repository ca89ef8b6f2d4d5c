#pragma once
// apprun's interpreter: the application's real windows driven by directives, one a line, with
// what happens printed. Each directive is one row of the table in AppRunTable.cpp.

#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Exceptions.h"
#include "platform/gui/NetSocket.h"

class TAnsiTerminalForm;
class TManualTimerService;
class TAppRun;

// A directive that cannot be carried out: "ERROR line N: " and the message.
class EAppRunError : public Exception {
    using Exception::Exception;
};

// rest: the line after the directive's name (cp949, escapes applied).
using TAppRunHandler = void (*)(TAppRun& run, const AnsiString& rest);
struct TAppRunDirective {
    const char* Name;
    TAppRunHandler Handler;
};
const std::vector<TAppRunDirective>& AppRunDirectives();

class TAppRun : private INetObserver {
public:
    // clock: the manual clock, or null when the run keeps Qt's real time. scripted: a peer of
    // the run's stands in for the network.
    TAppRun(std::ostream& out, TManualTimerService* clock, bool scripted);
    ~TAppRun() override;

    // One input line (UTF-8).
    void RunLine(std::string_view line);
    int LineNumber() const { return FLine; }

    // Output, UTF-8: texts escaped (a backslash doubled, control bytes and bytes that are no
    // cp949 character as \xHH); a field also has its '|' as \x7C.
    void Print(const std::string& line);
    static std::string Text(std::string_view cp949);
    static std::string Field(std::string_view cp949);

    // Lets the program run: the events waiting now, then time (the manual clock, or real time).
    void Pump();
    void Elapse(uint64_t ms);
    // Runs until done() or ms have passed; false on the time-out.
    bool WaitFor(const std::function<bool()>& done, uint64_t ms);

    // The window the directives act on; EAppRunError when none is open.
    TAnsiTerminalForm& Window();
    TAnsiTerminalForm* WindowOrNull();
    void SetWindow(TAnsiTerminalForm* window);
    // Counts the window's connects, disconnects and failures for `wait`.
    void Watch(TAnsiTerminalForm& window);
    // The socket the scripted peer is talking to; EAppRunError when none.
    TNetSocket& PeerSocket();
    bool Scripted() const { return FScripted; }

    // Answers for the next boxes and queries.
    std::deque<AnsiString> BoxAnswers;
    std::deque<std::optional<AnsiString>> InputAnswers;
    // The file the windows read the processors' counters from (--proc-stat); empty: the system's.
    std::string ProcStatFile;
    // No NET>, BEEP or PLAY lines while set (floods, garbage).
    bool Quiet = false;
    // The last text the book reported.
    AnsiString BookReport;

    // Socket events seen, and how many a `wait` has used up.
    struct TCounter {
        uint64_t Seen = 0, Used = 0;
    };
    TCounter Connects, Disconnects, Failures;
    // Every byte the window wrote, as " XX" each (also while Quiet), and how far `wait sent`
    // has matched in it.
    std::string SentHex;
    size_t SentMatched = 0;

private:
    void Connecting(TNetSocket& socket, const AnsiString& host, int port) override;
    void Written(TNetSocket& socket, std::string_view bytes) override;

    // Stands in for the network with --scripted-net: it keeps the socket of the attempt; the
    // `net` directives answer for it.
    class TPeer : public INetPeer {
    public:
        explicit TPeer(TAppRun& run) : FRun(run) {}
        void Connecting(TNetSocket& socket, const AnsiString&, int) override { FRun.FPeerSocket = &socket; }
        void Sent(TNetSocket&, std::string_view) override {}
        void Closed(TNetSocket& socket) override;

    private:
        TAppRun& FRun;
    };
    TPeer FPeer{*this};

    std::ostream& FOut;
    TManualTimerService* FClock;
    bool FScripted;
    int FLine = 0;
    TAnsiTerminalForm* FWindow = nullptr;
    TNetSocket* FPeerSocket = nullptr;
};
