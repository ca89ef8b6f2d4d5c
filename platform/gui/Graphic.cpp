#include "platform/gui/Graphic.h"

#include <fstream>
#include <iterator>

#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StoredPath.h"

namespace {

// Picture files are small; a larger one is no picture of ours.
constexpr std::streamoff kMaxPictureFile = 64 << 20;

}  // namespace

void TGraphic::LoadFromFile(const AnsiString& fileName) { LoadFromBytes(ReadGraphicFile(fileName)); }

std::string ReadGraphicFile(const AnsiString& fileName)
{
    std::ifstream in(NativePath(fileName), std::ios::binary);
    if (!in)
        throw EFOpenError("Cannot open file \"" + fileName + "\"");
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxPictureFile)
        throw EFOpenError("Cannot open file \"" + fileName + "\"");
    in.seekg(0);
    std::string data(static_cast<size_t>(size), '\0');
    if (!in.read(data.data(), size))
        throw EReadError("Stream read error");
    return data;
}

void TGraphic::SaveToFile(const AnsiString& fileName)
{
    TWriteResult result = AtomicWriteFile(NativePath(fileName), SaveToBytes());
    if (!result)
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + result.Message);
}
