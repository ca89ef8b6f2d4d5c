#pragma once
// Shared by the character window's tests: running the events that wait, and a fixture whose
// window connects to a host that is the test itself (on the manual clock); what the window
// writes and when the connection closes go into Log, in order.

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <memory>
#include <string>
#include <vector>

#include "app/forms/AnsiTerminal.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Forms.h"
#include "platform/gui/NetSocket.h"

inline void PumpEvents()
{
    for (int round = 0; round < 100; ++round) {
        QCoreApplication::sendPostedEvents();
        if (!QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents))
            break;
    }
}

class TConnectedWindowTest : public ::testing::Test, public INetPeer {
protected:
    void SetUp() override
    {
        SetTimerService(&Clock);
        SetNetPeer(this);
        Entry->Host = "mud";
        Entry->Port = 4000;
    }
    void TearDown() override
    {
        if (Window && Screen->HasForm(Window))
            delete Window;
        SetNetPeer(nullptr);
        SetTimerService(nullptr);
    }
    // Makes the window for Entry, shows it and lets its connect timer connect it.
    void Open()
    {
        Window = new TAnsiTerminalForm(nullptr, Entry);
        Window->Show();
        Clock.Advance(2000);
        PumpEvents();
        ASSERT_TRUE(Window->Connected());
    }

    void Connecting(TNetSocket& socket, const AnsiString&, int) override
    {
        Socket = &socket;
        socket.PeerAccept();
    }
    void Sent(TNetSocket&, std::string_view bytes) override { Log.push_back("sent " + std::string(bytes)); }
    void Closed(TNetSocket&) override
    {
        Log.push_back("closed");
        Socket = nullptr;
    }

    TManualTimerService Clock{0};
    std::shared_ptr<TCharBooks> Entry = std::make_shared<TCharBooks>();
    TAnsiTerminalForm* Window = nullptr;
    TNetSocket* Socket = nullptr;
    std::vector<std::string> Log;
};
