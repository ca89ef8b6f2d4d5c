#include "app/core/Telnet.h"

#include <utility>

using namespace Telnet;

namespace {
// The answers, each sent in one write.
constexpr char kTerminalType[] = {char(IAC), char(SB), char(OptTerminalType), 0, 'V', 'T', '1', '0', '0',
                                  char(IAC), char(SE)};
// WILL NAWS and the window size, 80 columns by 29 rows, in one buffer.
constexpr char kWindowSize[] = {
    char(IAC), char(WILL), char(OptWindowSize), char(IAC), char(SB), char(OptWindowSize), 0, 80,
    0,         29,         char(IAC),           char(SE)};

std::string ThreeBytes(unsigned char verb, unsigned char option)
{
    return {char(IAC), static_cast<char>(verb), static_cast<char>(option)};
}
}  // namespace

TTelnet::TTelnet(ITelnetSink& sink) : FSink(sink), FAlive(std::make_shared<bool>(true)) {}

TTelnet::~TTelnet() { *FAlive = false; }

void TTelnet::Reset()
{
    FState = TTelnetState::Data;
    FVerb = 0;
    FSubLength = 0;
    FServerEchoes = false;
    FText.clear();
    FQueue.clear();
    ++FGeneration;
}

void TTelnet::Feed(std::string_view bytes)
{
    FQueue.append(bytes);
    if (FFeeding)
        return;  // a handler fed more: the outer call walks it next
    const std::shared_ptr<bool> alive = FAlive;
    // Cleared however the walk ends, so a handler that throws does not stop every later read.
    struct TFeeding {
        TTelnet& telnet;
        const std::shared_ptr<bool>& alive;
        ~TFeeding()
        {
            if (*alive)
                telnet.FFeeding = false;
        }
    } feeding{*this, alive};
    FFeeding = true;
    while (!FQueue.empty()) {
        const std::string chunk = std::exchange(FQueue, {});
        if (!Walk(chunk) && !*alive)
            return;
    }
}

bool TTelnet::Walk(std::string_view bytes)
{
    const uint64_t generation = FGeneration;
    const std::shared_ptr<bool> alive = FAlive;
    // A handler that reset or freed the protocol ends the walk of these bytes.
    auto still = [&] { return *alive && FGeneration == generation; };
    size_t i = 0;
    while (i < bytes.size()) {
        if (FState == TTelnetState::Data) {
            // The common case: a run of text up to the next byte that needs a decision.
            const size_t end = bytes.find_first_of("\r\n\xff", i);
            const size_t stop = end == std::string_view::npos ? bytes.size() : end;
            FText.append(bytes.substr(i, stop - i));
            i = stop;
            if (i == bytes.size())
                break;
            const unsigned char ch = static_cast<unsigned char>(bytes[i++]);
            if (ch == '\n')
                FText.append("\n\r");
            else if (ch == IAC)
                FState = TTelnetState::Command;
            continue;  // CR is dropped
        }
        const unsigned char ch = static_cast<unsigned char>(bytes[i++]);
        bool ok = true;
        switch (FState) {
        case TTelnetState::Data: break;
        case TTelnetState::Command: ok = Command(ch); break;
        case TTelnetState::Option: ok = Option(ch); break;
        case TTelnetState::SubOption: ok = SubOption(ch); break;
        case TTelnetState::SubData:
            if (ch == IAC)
                FState = TTelnetState::SubDataCommand;
            else if (++FSubLength > kMaxSubnegotiation)
                FState = TTelnetState::Data;
            break;
        case TTelnetState::SubDataCommand:
            if (ch == IAC) {
                // An escaped 255 of the payload.
                FState = ++FSubLength > kMaxSubnegotiation ? TTelnetState::Data : TTelnetState::SubData;
            } else if (ch == SE) {
                FState = TTelnetState::Data;
            } else {
                // A command inside a subnegotiation ends it and counts as a command.
                ok = Command(ch);
            }
            break;
        }
        if (!ok || !still())
            return false;
    }
    return FlushText() && still();
}

bool TTelnet::Command(unsigned char ch)
{
    switch (ch) {
    case SB: FState = TTelnetState::SubOption; break;
    case WILL:
    case WONT:
    case DO:
    case DONT:
        FVerb = ch;
        FState = TTelnetState::Option;
        break;
    default:
        // SE, the one-byte commands 241 to 249, a second IAC and anything else: dropped whole.
        FState = TTelnetState::Data;
        break;
    }
    return true;
}

bool TTelnet::Option(unsigned char ch)
{
    FState = TTelnetState::Data;
    switch (FVerb) {
    case WILL:
        if (ch == OptEcho)
            FServerEchoes = true;
        return Answer(ThreeBytes(ch == OptEcho || ch == OptSga ? DO : DONT, ch));
    case WONT:
        if (ch == OptEcho)
            FServerEchoes = false;
        return true;
    case DO:
        if (ch == OptTerminalType)
            return Answer(ThreeBytes(WILL, ch));
        if (ch == OptWindowSize)
            return Answer({kWindowSize, sizeof kWindowSize});
        return Answer(ThreeBytes(WONT, ch));
    default: return true;  // DONT
    }
}

bool TTelnet::SubOption(unsigned char ch)
{
    FState = TTelnetState::SubData;
    FSubLength = 0;
    // The host asks for the terminal type; what follows the option is not examined.
    if (ch == OptTerminalType)
        return Answer({kTerminalType, sizeof kTerminalType});
    return true;
}

bool TTelnet::Answer(std::string_view bytes)
{
    // Text that came before the request is handed on first.
    if (!FlushText())
        return false;
    const uint64_t generation = FGeneration;
    const std::shared_ptr<bool> alive = FAlive;
    FSink.TelnetAnswer(bytes);
    return *alive && FGeneration == generation;
}

bool TTelnet::FlushText()
{
    if (FText.empty())
        return true;
    const uint64_t generation = FGeneration;
    const std::shared_ptr<bool> alive = FAlive;
    const std::string text = std::exchange(FText, {});
    FSink.TelnetText(text);
    return *alive && FGeneration == generation;
}
