// telnet_probe: a plain client of the telnet unit for the test servers. It connects to 127.0.0.1,
// feeds every read to TTelnet, writes the unit's answers back at once and plays its steps in
// order:
//
//   answers=HEX   wait until the answers sent so far are exactly these bytes (spaces ignored)
//   expect=TEXT   wait until the text shown since the last match holds TEXT
//   send=TEXT     send TEXT and CR LF
//   closed        wait until the server closes the connection
//
// TEXT is UTF-8 on the command line and cp949 on the wire, with \r, \n, \\ and \xHH for single
// bytes. The port is --port N or
// HM_SERVER_PORT. Every read and answer is printed; the first step that fails or is not done
// within --timeout seconds (30, room for a loaded machine) ends the run with status 1.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/core/Telnet.h"
#include "platform/core/Cp949.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Printable(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && c != '\\') {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

std::optional<std::string> FromHex(std::string_view text)
{
    std::string digits;
    for (const char c : text)
        if (c != ' ')
            digits += c;
    if (digits.size() % 2)
        return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        if (!std::isxdigit(static_cast<unsigned char>(digits[i])) ||
            !std::isxdigit(static_cast<unsigned char>(digits[i + 1])))
            return std::nullopt;
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

// A step's TEXT in cp949 with its escapes read; a Hangul pair is copied whole, as its trail byte
// may be a backslash.
std::string Text(std::string_view utf8)
{
    const std::string cp = Utf8ToCp949(utf8);
    std::string out;
    for (size_t i = 0; i < cp.size(); ++i) {
        const auto b = static_cast<unsigned char>(cp[i]);
        if (b >= 0x81 && i + 1 < cp.size()) {
            out += cp.substr(i++, 2);
        } else if (cp[i] != '\\' || i + 1 == cp.size()) {
            out += cp[i];
        } else if (cp[++i] == 'r') {
            out += '\r';
        } else if (cp[i] == 'n') {
            out += '\n';
        } else if (cp[i] == 'x' && i + 2 < cp.size()) {
            out += FromHex(cp.substr(i + 1, 2)).value_or("?");
            i += 2;
        } else {
            out += cp[i];
        }
    }
    return out;
}

class TProbe : public ITelnetSink {
public:
    TProbe(int fd, Clock::time_point deadline) : FFd(fd), FDeadline(deadline) {}

    void TelnetText(std::string_view text) override { FText.append(text); }

    void TelnetAnswer(std::string_view bytes) override
    {
        std::printf("answer: %s\n", Printable(bytes).c_str());
        FAnswers.append(bytes);
        Write(bytes);
    }

    void Write(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = ::send(FFd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0) {
                std::printf("send failed: %s\n", std::strerror(errno));
                return;
            }
            bytes.remove_prefix(static_cast<size_t>(n));
        }
    }

    // Reads until done() holds; false when the time is up or the server closed first.
    template <class Done>
    bool ReadUntil(Done done)
    {
        while (!done()) {
            if (FClosed)
                return false;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(FDeadline - Clock::now());
            if (left.count() <= 0)
                return false;
            pollfd pfd{FFd, POLLIN, 0};
            if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char buffer[65536];
            const ssize_t n = ::recv(FFd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                std::printf("closed by the server\n");
                FClosed = true;
                continue;
            }
            const std::string_view read(buffer, static_cast<size_t>(n));
            std::printf("read %zd: %s\n", n, Printable(read.substr(0, 300)).c_str());
            FTelnet.Feed(read);
        }
        return true;
    }

    bool Step(const std::string& step)
    {
        const size_t eq = step.find('=');
        const std::string verb = step.substr(0, eq);
        const std::string arg = eq == std::string::npos ? std::string() : step.substr(eq + 1);
        if (verb == "answers") {
            const auto want = FromHex(arg);
            if (!want) {
                std::printf("not hex\n");
                return false;
            }
            ReadUntil([&] { return FAnswers.size() >= want->size(); });
            if (FAnswers == *want)
                return true;
            std::printf("answers were: %s\n", Printable(FAnswers).c_str());
            return false;
        }
        if (verb == "expect") {
            const std::string want = Text(arg);
            size_t at = std::string::npos;
            if (ReadUntil([&] { return (at = FText.find(want)) != std::string::npos; })) {
                FText.erase(0, at + want.size());
                return true;
            }
            const size_t tail = std::min<size_t>(FText.size(), 2000);
            std::printf("text since the last match ends: %s\n", Printable(FText.substr(FText.size() - tail)).c_str());
            return false;
        }
        if (verb == "send") {
            Write(Text(arg) + "\r\n");
            return true;
        }
        if (verb == "closed")
            return ReadUntil([&] { return FClosed; });
        std::printf("unknown step\n");
        return false;
    }

private:
    int FFd;
    Clock::time_point FDeadline;
    TTelnet FTelnet{*this};
    std::string FText;  // shown since the last match
    std::string FAnswers;
    bool FClosed = false;
};

}  // namespace

int main(int argc, char** argv)
{
    int port = 0;
    int seconds = 30;
    if (const char* env = std::getenv("HM_SERVER_PORT"))
        port = std::atoi(env);
    std::vector<std::string> steps;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--port") && i + 1 < argc)
            port = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--timeout") && i + 1 < argc)
            seconds = std::atoi(argv[++i]);
        else
            steps.emplace_back(argv[i]);
    }
    if (port <= 0 || port > 65535) {
        std::fprintf(stderr, "usage: telnet_probe [--port N] [--timeout S] STEP...\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        std::printf("cannot connect to 127.0.0.1:%d: %s\n", port, std::strerror(errno));
        return 1;
    }
    int status = 0;
    {
        TProbe probe(fd, Clock::now() + std::chrono::seconds(seconds));
        for (const std::string& step : steps) {
            std::printf("step %s\n", step.c_str());
            if (!probe.Step(step)) {
                std::printf("FAILED: %s\n", step.c_str());
                status = 1;
                break;
            }
        }
    }
    ::close(fd);
    return status;
}
