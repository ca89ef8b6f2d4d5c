// A form of 200 flat 60 x 20 speed buttons with Hangul captions and a small glyph, offscreen:
// the time of a full repaint and of a hover sweep (the mouse entering and leaving every button,
// each repainting), and how many glyph images were built; in the same run the repaint of 200
// auto-raise QToolButtons with the same captions. Prints METRIC lines, the repaint's ratio to the
// tool buttons' among them (the target: at most 1.5).

#include <QApplication>
#include <QGridLayout>
#include <QImage>
#include <QMouseEvent>
#include <QToolButton>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/Application.h"
#include "platform/gui/Foreground.h"

namespace {

constexpr int kButtons = 200, kColumns = 20, kWidth = 60, kHeight = 20, kRepaints = 30;

double Ms(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

void Metric(const char* name, double value) { std::printf("METRIC %s %.6g\n", name, value); }

// "단추 N" in cp949 (단 B4DC, 추 C3DF).
AnsiString Caption(int i) { return "\xB4\xDC\xC3\xDF " + IntToStr(i); }

// The median time of painting the widget whole into an image.
double PaintMs(QWidget* w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    std::vector<double> times;
    for (int i = 0; i < kRepaints; ++i) {
        const auto start = std::chrono::steady_clock::now();
        w->render(&image);
        times.push_back(Ms(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Move(QWidget* w, QPoint at)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TApplication app(argc, argv);
    SetForegroundTaskHook([] { return true; });

    TBitmap glyph;
    glyph.SetSize(12, 12);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 12, 12));
    glyph.Canvas()->Brush()->SetColor(clNavy);
    glyph.Canvas()->FillRect(Rect(2, 2, 10, 10));

    const int rows = kButtons / kColumns;
    TForm form(nullptr);
    form.SetBounds(0, 0, kColumns * kWidth, rows * kHeight);
    form.SetClientWidth(kColumns * kWidth);
    form.SetClientHeight(rows * kHeight);
    std::vector<TExSpeedButton*> buttons;
    for (int i = 0; i < kButtons; ++i) {
        auto* b = new TExSpeedButton(&form);
        b->SetBounds(i % kColumns * kWidth, i / kColumns * kHeight, kWidth, kHeight);
        b->SetFlat(true);
        b->SetLayout(blGlyphLeft);
        b->SetCaption(Caption(i));
        b->SetGlyph(&glyph);
        b->SetParent(&form);
        buttons.push_back(b);
    }
    form.Show();
    QCoreApplication::processEvents();
    const double ours = PaintMs(form.Handle());

    // The hover sweep: the pointer moves onto each button in turn, which repaints as it enters
    // and the one it left repaints as it leaves.
    QWidget* surface = form.Handle();
    const auto start = std::chrono::steady_clock::now();
    for (TExSpeedButton* b : buttons) {
        Move(surface, QPoint(b->Left() + kWidth / 2, b->Top() + kHeight / 2));
        QCoreApplication::processEvents();
    }
    Move(surface, QPoint(-10, -10));
    QCoreApplication::processEvents();
    const double hover = Ms(start) * 1000.0 / kButtons;
    // One more of each look: nothing is built again.
    PaintMs(form.Handle());

    QWidget peer;
    auto* grid = new QGridLayout(&peer);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kButtons; ++i) {
        auto* t = new QToolButton(&peer);
        t->setAutoRaise(true);
        t->setText(AnsiToQString(Caption(i)));
        t->setFixedSize(kWidth, kHeight);
        grid->addWidget(t, i / kColumns, i % kColumns);
    }
    peer.resize(kColumns * kWidth, rows * kHeight);
    peer.show();
    QCoreApplication::processEvents();
    const double qt = PaintMs(&peer);

    Metric("buttonbar_paint_ms", ours);
    Metric("qtoolbutton_paint_ms", qt);
    Metric("buttonbar_paint_vs_qtoolbutton", ours / qt);
    Metric("buttonbar_hover_us_per_button", hover);
    Metric("glyph_images_built", static_cast<double>(GlyphImagesBuilt()));
    // Two looks are shown (flat and under the mouse): two images a button, each built once.
    if (GlyphImagesBuilt() != 2L * kButtons)
        std::fprintf(stderr, "expected %d glyph images\n", 2 * kButtons);
    return 0;
}
