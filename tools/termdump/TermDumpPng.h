#pragma once
// The picture side of termdump: a screen image drawn while the stream is decoded, written as a
// PNG at the end.

#include <memory>
#include <string>

class TTerminalCore;

class TTermDumpPicture {
public:
    // Draws in Hangul mode with the generated fonts beside the program, or with the system font
    // `winFont` (a UTF-8 face name) when it is not empty.
    TTermDumpPicture(TTerminalCore& core, int argc, char** argv, const std::string& winFont);
    ~TTermDumpPicture();
    // False (with a message on stderr) when the file cannot be written.
    bool Save(const std::string& path) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
