#pragma once
// Finding another running copy of the program: a copy that listens answers on per-user local
// sockets named after its main form's class and its title (one for each alone and one for
// both), and comes to the front when asked.

#include "platform/core/AnsiString.h"

// Starts answering for this process under the class and title (empty ones are not used). An
// "activate" request restores and raises the main form. Returns false when nothing could listen.
bool ListenAsInstance(const AnsiString& className, const AnsiString& title);
// Whether a running copy answers for the class and/or title; false when both are empty. Must not
// be called from the thread whose event loop answers for the same names.
bool FindInstance(const AnsiString& className, const AnsiString& title);
// Asks that copy to come to the front; true when it answered.
bool ActivateInstance(const AnsiString& className, const AnsiString& title);
// Stops answering (done when the application ends).
void StopListeningAsInstance();
