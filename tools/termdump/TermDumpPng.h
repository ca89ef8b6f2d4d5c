#pragma once
// The picture side of termdump: sizes the pieces' screen image and sets up its fonts, so the
// stream draws into it while it is decoded; the image is written as a PNG at the end.

#include <memory>
#include <string>

struct TTerminalPieces;

class TTermDumpPicture {
public:
    // Draws in Hangul mode with the generated fonts beside the program, or with the system font
    // `winFont` (a UTF-8 face name) when it is not empty.
    TTermDumpPicture(TTerminalPieces& pieces, int argc, char** argv, const std::string& winFont);
    ~TTermDumpPicture();
    // False (with a message on stderr) when the file cannot be written.
    bool Save(const std::string& path) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
