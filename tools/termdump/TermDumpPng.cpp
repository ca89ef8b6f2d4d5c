#include "TermDumpPng.h"

#include <cstdio>
#include <cstdlib>

#include "platform/core/Cp949.h"
#include "platform/core/ProgramFolder.h"
#include "platform/gui/Application.h"
#include "platform/gui/FrameBufferImage.h"
#include "terminal/draw/TerminalPieces.h"
#include "terminal/draw/qt/QtTextRaster.h"
#include "terminal/fonts/GlyphTables.h"

struct TTermDumpPicture::TImpl {
    std::unique_ptr<TApplication> app;
    TQtTextRaster raster;
    TScreenPainter& painter;
    explicit TImpl(TScreenPainter& p) : painter(p) {}
};

namespace {

std::unique_ptr<TApplication> MakeApplication(int argc, char** argv)
{
    // Only a picture is made: no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int qtArgc = 1;
    static char* qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    return std::make_unique<TApplication>(qtArgc, qtArgv);
}

}  // namespace

TTermDumpPicture::TTermDumpPicture(TTerminalPieces& pieces, int argc, char** argv, const std::string& winFont)
{
    auto app = MakeApplication(argc, argv);
    const TTerminalCore& core = pieces.Core;
    FImpl = std::make_unique<TImpl>(pieces.Painter);
    FImpl->app = std::move(app);
    TScreenPainter& p = FImpl->painter;
    p.SetRasterizer(&FImpl->raster);
    p.SetBackColor(core.DefaultBackColor());
    p.SetFontColor(core.DefaultFontColor());
    if (winFont.empty()) {
        const std::string fonts = ExecutableFolder() + "/Fonts/";
        LoadHanFont(fonts + "뻗음꼴.han");
        LoadEngFont(fonts + "영문정형체.eng");
        LoadSpcFont(fonts + "smooth.spc");
        LoadKsgFont(fonts + "산.ksg");
        p.SetWinFont("\xB1\xBC\xB8\xB2\xC3\xBC", 12);  // 굴림체, for Hanja
        p.SetHanMode(true);
    } else {
        p.SetWinFont(Utf8ToCp949(winFont), 12);  // the command line is UTF-8
    }
    p.Resize(core.Columns() * p.CellWidth(), core.Rows() * p.CellHeight());
    p.Redraw();
}

TTermDumpPicture::~TTermDumpPicture()
{
    // The painter outlives this; it must not keep a rasteriser that goes with the application.
    FImpl->painter.SetRasterizer(nullptr);
    auto app = std::move(FImpl->app);
    FImpl.reset();
}

bool TTermDumpPicture::Save(const std::string& path) const
{
    if (SaveFrameBufferPng(path, FImpl->painter.Screen(), TScreenPainter::Palette()))
        return true;
    std::fprintf(stderr, "termdump: cannot write %s\n", path.c_str());
    return false;
}
