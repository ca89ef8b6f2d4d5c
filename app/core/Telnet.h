#pragma once
// The telnet side of a game connection: bytes from the host in, text for the terminal and the
// answers to the host's option requests out. No socket and no display: the character window
// feeds what it reads and sends and shows what the sink receives.
//
// The host's stream is walked with one state that survives between reads, so a command or a
// subnegotiation cut by the end of one read is finished by the next. Text has every CR dropped
// and a CR added after every LF. Subnegotiation payloads are never shown.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Telnet {
constexpr unsigned char SE = 240;
constexpr unsigned char SB = 250;
constexpr unsigned char WILL = 251;
constexpr unsigned char WONT = 252;
constexpr unsigned char DO = 253;
constexpr unsigned char DONT = 254;
constexpr unsigned char IAC = 255;

constexpr unsigned char OptEcho = 1;
constexpr unsigned char OptSga = 3;
constexpr unsigned char OptTerminalType = 24;
constexpr unsigned char OptWindowSize = 31;

// A subnegotiation whose payload grows past this is abandoned and the stream read as data again,
// so a host that never closes one cannot hide everything after it.
constexpr size_t kMaxSubnegotiation = 64 * 1024;
}

// Where the protocol's results go. A handler may feed more bytes, reset the protocol for a new
// connection or free it; what it feeds is walked after the current bytes, in order.
class ITelnetSink {
public:
    virtual ~ITelnetSink() = default;
    // Bytes for the terminal, in order (runs of text; cutting them differently means nothing).
    virtual void TelnetText(std::string_view text) = 0;
    // One answer, to be sent whole in one write.
    virtual void TelnetAnswer(std::string_view bytes) = 0;
};

enum class TTelnetState : uint8_t {
    Data,           // text
    Command,        // after IAC
    Option,         // after IAC and WILL, WONT, DO or DONT
    SubOption,      // after IAC SB
    SubData,        // inside a subnegotiation
    SubDataCommand  // after IAC inside a subnegotiation
};

class TTelnet {
public:
    explicit TTelnet(ITelnetSink& sink);
    ~TTelnet();
    TTelnet(const TTelnet&) = delete;
    TTelnet& operator=(const TTelnet&) = delete;

    // Walks bytes read from the host.
    void Feed(std::string_view bytes);
    // Forgets everything of the last connection: state, echo and bytes not yet walked.
    void Reset();

    TTelnetState State() const { return FState; }
    // True from the host's WILL ECHO until its WONT ECHO or a new connection: the host echoes
    // what the player types.
    bool ServerEchoes() const { return FServerEchoes; }

private:
    // False when the protocol was reset or freed during a handler: stop walking.
    bool Walk(std::string_view bytes);
    bool Command(unsigned char ch);
    bool Option(unsigned char ch);
    bool SubOption(unsigned char ch);
    bool Answer(std::string_view bytes);
    bool FlushText();

    ITelnetSink& FSink;
    TTelnetState FState = TTelnetState::Data;
    unsigned char FVerb = 0;
    size_t FSubLength = 0;
    bool FServerEchoes = false;
    std::string FText;   // text walked and not yet handed on
    std::string FQueue;  // bytes fed while walking
    bool FFeeding = false;
    uint64_t FGeneration = 0;
    std::shared_ptr<bool> FAlive;
};
