#pragma once
// Files the in-process servers cannot read or write themselves go through LibreOffice headless:
// one run per conversion, with a profile folder of the process's own and a time-out, stopped by
// its process group when it overruns.

#include <string>

#include "platform/gui/OleAutomation.h"

// LibreOffice is not installed: the grid says its server is not found.
class EOfficeMissing : public EOleException {
    using EOleException::EOleException;
};

bool OfficeInstalled();
// Converts Source (a native path) into Folder with LibreOffice's --convert-to Filter ("xlsx",
// "docx", "xls", "csv", "txt:Text" ...) and gives the path of the file made. Raises
// EOfficeMissing without LibreOffice, EOleException when the run fails or overruns.
std::string ConvertWithOffice(const std::string& Source, const std::string& Filter, const std::string& Folder,
                              int TimeoutMs = 120000);
