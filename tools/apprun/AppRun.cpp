#include "tools/apprun/AppRun.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <ostream>

#include "app/forms/AnsiTerminal.h"
#include "platform/core/Cp949.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Forms.h"
#include "tools/scriptrun/ScriptRunText.h"

namespace {

// The clock moves in steps this long, so what falls due runs close to its time.
constexpr uint64_t kStepMs = 10;
// How long settling a directive may take on the real network (see Pump).
constexpr qint64 kRealPumpMs = 100;

std::string Hex(unsigned char b)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", b);
    return buf;
}

std::string Escape(std::string_view text, bool field)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == '\\') {
            out += "\\\\";
        } else if (b < 0x20 || b == 0x7F || (field && b == '|')) {
            out += Hex(b);
        } else if (b < 0x80) {
            out += static_cast<char>(b);
        } else {
            // A two-byte character when the pair is one; a lone or bad byte as its number.
            std::string utf8 = i + 1 < text.size() && b >= 0x81 && b != 0xFF ? Cp949ToUtf8(text.substr(i, 2)) : "";
            if (!utf8.empty() && utf8.find("\xEF\xBF\xBD") == std::string::npos) {
                out += utf8;
                ++i;
            } else {
                out += Hex(b);
            }
        }
    }
    return out;
}

}  // namespace

TAppRun::TAppRun(std::ostream& out, TManualTimerService* clock, bool scripted)
    : FOut(out), FClock(clock), FScripted(scripted)
{
    SetNetObserver(this);
    if (FScripted)
        SetNetPeer(&FPeer);
}

TAppRun::~TAppRun()
{
    SetNetPeer(nullptr);
    SetNetObserver(nullptr);
}

std::string TAppRun::Text(std::string_view cp949) { return Escape(cp949, false); }

std::string TAppRun::Field(std::string_view cp949) { return Escape(cp949, true); }

void TAppRun::Print(const std::string& line) { FOut << line << '\n' << std::flush; }

void TAppRun::RunLine(std::string_view line)
{
    ++FLine;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] == '#')
        return;
    line = line.substr(start);
    const size_t end = line.find_first_of(" \t");
    const std::string name(line.substr(0, end));
    std::string_view rest = end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
    try {
        for (const TAppRunDirective& d : AppRunDirectives())
            if (name == d.Name) {
                d.Handler(*this, UnescapeText(Utf8ToCp949(rest)));
                Pump();
                return;
            }
        throw EAppRunError("unknown directive " + name);
    } catch (const std::exception& e) {
        Print("ERROR line " + std::to_string(FLine) + ": " + Text(e.what()));
    }
}

void TAppRun::Pump()
{
    // Posted calls may post more; a bounded number of rounds ends a handler that keeps posting.
    // On the real network the socket posts a call for every piece of host text: a host pouring
    // text keeps the rounds going, so there they also end after a tenth of a second, leaving the
    // text to the waits, or a directive would run only after megabytes had gone by.
    QElapsedTimer pumping;
    pumping.start();
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (int round = 0; round < 1000; ++round) {
        QCoreApplication::sendPostedEvents();
        if (!dispatcher->processEvents(QEventLoop::AllEvents))
            break;
        if (!FScripted && pumping.elapsed() >= kRealPumpMs)
            break;
    }
}

void TAppRun::Elapse(uint64_t ms)
{
    WaitFor([] { return false; }, ms);
}

bool TAppRun::WaitFor(const std::function<bool()>& done, uint64_t ms)
{
    Pump();
    if (done())
        return true;
    if (!FClock) {
        // As the program's own loop runs: events as they come, no pause between them (a pause
        // would hold back every piece of host text the socket hands on), and a timer that wakes
        // the wait at its end.
        QElapsedTimer timer;
        timer.start();
        QTimer end;
        end.setSingleShot(true);
        end.start(static_cast<int>(std::min<uint64_t>(ms, INT_MAX)));
        while (static_cast<uint64_t>(timer.elapsed()) < ms) {
            QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            if (done())
                return true;
        }
        return done();
    }
    for (uint64_t passed = 0; passed < ms;) {
        const uint64_t step = std::min(kStepMs, ms - passed);
        // On the real network the peer lives in real time: let it keep pace with the clock.
        if (!FScripted)
            QThread::msleep(static_cast<unsigned long>(step));
        FClock->Advance(step);
        passed += step;
        Pump();
        if (done())
            return true;
    }
    return false;
}

TAnsiTerminalForm* TAppRun::WindowOrNull()
{
    if (FWindow && !(Screen && Screen->HasForm(FWindow)))
        FWindow = nullptr;
    return FWindow;
}

TAnsiTerminalForm& TAppRun::Window()
{
    if (TAnsiTerminalForm* w = WindowOrNull())
        return *w;
    throw EAppRunError("no window is open");
}

void TAppRun::SetWindow(TAnsiTerminalForm* window) { FWindow = window; }

void TAppRun::Watch(TAnsiTerminalForm& window)
{
    auto counted = [](TNotifyEvent inner, TCounter& counter) {
        return [inner, &counter](TObject* sender) {
            ++counter.Seen;
            if (inner)
                inner(sender);
        };
    };
    TNetSocket* socket = window.Socket();
    socket->OnConnect = counted(socket->OnConnect, Connects);
    socket->OnDisconnect = counted(socket->OnDisconnect, Disconnects);
    socket->OnConnectionFailed = counted(socket->OnConnectionFailed, Failures);
}

TNetSocket& TAppRun::PeerSocket()
{
    if (!FScripted)
        throw EAppRunError("net needs --scripted-net");
    // Only a socket of a window still open: a freed one may not have said goodbye.
    for (int i = 0; FPeerSocket && Screen && i < Screen->FormCount(); ++i)
        if (auto* w = dynamic_cast<TAnsiTerminalForm*>(Screen->Forms(i)); w && w->Socket() == FPeerSocket)
            return *FPeerSocket;
    throw EAppRunError("no connection is under way");
}

void TAppRun::Connecting(TNetSocket&, const AnsiString& host, int port)
{
    Print("NET CONNECT " + Text(host) + " " + std::to_string(port));
}

void TAppRun::Written(TNetSocket&, std::string_view bytes)
{
    std::string hex;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, " %02X", b);
        hex += buf;
    }
    SentHex += hex;
    if (!Quiet)
        Print("NET>" + hex);
}

void TAppRun::TPeer::Closed(TNetSocket& socket)
{
    if (FRun.FPeerSocket == &socket)
        FRun.FPeerSocket = nullptr;
}
