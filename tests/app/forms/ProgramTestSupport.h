#pragma once
// Shared by the tests of the program's windows: a fresh program folder with the build's Fonts,
// the manual clock, a host that accepts every connection, message boxes answered and logged,
// modal forms handed to the test's scripts, and the book window made and freed.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "app/core/CharBooks.h"
#include "app/forms/BooksForm.h"
#include "platform/core/Cp949.h"
#include "platform/gui/Dialogs.h"
#include "tests/platform/core/TempFolder.h"

class TProgramTest : public ::testing::Test, public INetPeer {
protected:
    void SetUp() override
    {
        TestApplication();
        std::filesystem::create_directory_symlink(std::filesystem::path(ExecutableFolder()) / "Fonts",
                                                  std::filesystem::path(Folder.Path()) / "Fonts");
        TCharBooks::FreeAll();
        TCharBooks::BookFileName.clear();
        TCharBooks::ReportError = nullptr;
        SetTimerService(&Clock);
        SetNetPeer(this);
        SetMessageBoxHook([this](const AnsiString& text, const AnsiString& caption, unsigned flags) {
            Log.push_back("box " + Cp949ToUtf8(caption) + "|" + Cp949ToUtf8(text));
            if (BoxAnswers.empty())
                return DefaultMessageBoxResult(flags);
            const int answer = BoxAnswers.front();
            BoxAnswers.pop_front();
            return answer;
        });
        SetModalFormHook([this](TCustomForm& form) {
            Log.push_back("modal " + std::string(form.ClassName()));
            if (!Scripts.empty()) {
                auto script = std::move(Scripts.front());
                Scripts.pop_front();
                script(form);
            }
            if (form.Visible() && form.ModalResult() == mrNone)
                form.Close();
        });
    }
    void TearDown() override
    {
        delete Books;
        PumpEvents();
        SetModalFormHook(nullptr);
        SetMessageBoxHook(nullptr);
        SetNetPeer(nullptr);
        SetTimerService(nullptr);
        TCharBooks::FreeAll();
        TCharBooks::ReportError = nullptr;
    }

    // The book window as the program makes it (its creation loads the book) and shows it.
    void Start()
    {
        Books = new TBooksForm(nullptr);
        Books->Show();
        Books->FillGrid();
        PumpEvents();
    }
    // Writes a book file before Start.
    void WriteBook(const std::string& text)
    {
        std::filesystem::create_directories(Folder.File("CharBooks"));
        TempFolder::Write(Folder.File("CharBooks/CharBooks"), text);
    }
    // The next modal form goes to this script (then its close box closes it if still open).
    void OnModal(std::function<void(TCustomForm&)> script) { Scripts.push_back(std::move(script)); }

    void Connecting(TNetSocket& socket, const AnsiString&, int) override
    {
        Socket = &socket;
        socket.PeerAccept();
    }
    void Sent(TNetSocket&, std::string_view bytes) override { Log.push_back("sent " + std::string(bytes)); }
    void Closed(TNetSocket&) override { Socket = nullptr; }

    TempFolder Folder;
    TManualTimerService Clock{0};
    TBooksForm* Books = nullptr;
    TNetSocket* Socket = nullptr;
    std::vector<std::string> Log;
    std::deque<int> BoxAnswers;
    std::deque<std::function<void(TCustomForm&)>> Scripts;
};

// One book record of the file format, with its line ends.
inline std::string BookRecord(const std::string& hostName, const std::string& charName, int port)
{
    return "#CHARACTER\r\nHostName    " + hostName + "~\r\nCharName    " + charName +
        "~\r\nHost        h~\r\nPort        " + std::to_string(port) + "\r\nEnd\r\n";
}
