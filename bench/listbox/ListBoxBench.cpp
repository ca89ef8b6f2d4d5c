// A text list box on a form, offscreen, filled with 1,000 and with 10,000 history lines (Hangul
// and English, of varied lengths), the time of each fill with the horizontal range kept; then
// the widest line deleted 100 times (each time the range shrinks to the next widest). In the
// same run a QListWidget takes the same lines at both sizes. Prints METRIC lines, the median of
// several runs each, and the ratio of each fill to the list widget's (the target: at most 1).

#include <QApplication>
#include <QListWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/lib/TextListBox.h"
#include "platform/core/Cp949.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

namespace {

constexpr int kRuns = 5, kDeletes = 100;

double Ms(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

void Metric(const char* name, double value) { std::printf("METRIC %s %.6g\n", name, value); }

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Typed lines as a history holds them: commands, chat in Hangul (말 B8BB, 안녕 BEC8 B3E7), paths.
std::vector<AnsiString> HistoryLines(int count)
{
    static const char* const kPieces[] = {"look",
                                          "say \xBE\xC8\xB3\xE7",
                                          "north",
                                          "get all from corpse",
                                          "\xB8\xBB \xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4",
                                          "#walk east",
                                          "tell friend meet at the gate"};
    std::vector<AnsiString> lines;
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        AnsiString line = kPieces[i % 7];
        for (int k = 0; k < (i * 7) % 5; ++k)
            line += std::string(" ") + kPieces[(i + k) % 7];
        lines.push_back(line + " " + std::to_string(i));
    }
    return lines;
}

double FillList(TForm& form, const std::vector<AnsiString>& lines)
{
    auto* list = new TTextListBox(&form);
    list->SetBounds(0, 0, 300, 200);
    list->SetParent(&form);
    list->HandleNeeded();
    const auto start = std::chrono::steady_clock::now();
    list->Items()->BeginUpdate();
    for (const AnsiString& line : lines)
        list->Items()->Add(line);
    list->Items()->EndUpdate();
    QCoreApplication::processEvents();
    const double ms = Ms(start);
    delete list;
    return ms;
}

// The same lines into a QListWidget, as a program on Qt alone would fill one.
double FillPeer(const std::vector<AnsiString>& lines)
{
    QListWidget peer;
    peer.resize(300, 200);
    peer.show();
    const auto start = std::chrono::steady_clock::now();
    for (const AnsiString& line : lines)
        peer.addItem(AnsiToQString(line));
    QCoreApplication::processEvents();
    return Ms(start);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TApplication app(argc, argv);
    TForm form(nullptr);
    form.SetBounds(0, 0, 320, 240);
    form.Show();

    const std::vector<AnsiString> small = HistoryLines(1000), large = HistoryLines(10000);
    std::vector<double> fill1000, fill10000, peer1000, peer10000, deletes;
    for (int run = 0; run < kRuns; ++run) {
        fill1000.push_back(FillList(form, small));
        fill10000.push_back(FillList(form, large));

        peer1000.push_back(FillPeer(small));
        peer10000.push_back(FillPeer(large));

        // The widest line is the last of the lines sorted by length (all drawn in one font).
        auto* list = new TTextListBox(&form);
        list->SetBounds(0, 0, 300, 200);
        list->SetParent(&form);
        for (const AnsiString& line : small)
            list->Items()->Add(line);
        std::vector<int> widths;
        for (int k = 0; k < list->Items()->Count(); ++k)
            widths.push_back(list->GetItemWidth(k));
        const auto del = std::chrono::steady_clock::now();
        for (int i = 0; i < kDeletes; ++i) {
            const auto widest = std::max_element(widths.begin(), widths.end()) - widths.begin();
            list->Items()->Delete(static_cast<int>(widest));
            widths.erase(widths.begin() + widest);
        }
        QCoreApplication::processEvents();
        deletes.push_back(Ms(del));
        delete list;
    }
    Metric("textlistbox_fill_1000_ms", Median(fill1000));
    Metric("textlistbox_fill_10000_ms", Median(fill10000));
    Metric("qlistwidget_fill_1000_ms", Median(peer1000));
    Metric("qlistwidget_fill_10000_ms", Median(peer10000));
    Metric("textlistbox_fill_1000_vs_qlistwidget", Median(fill1000) / Median(peer1000));
    Metric("textlistbox_fill_10000_vs_qlistwidget", Median(fill10000) / Median(peer10000));
    Metric("textlistbox_delete_widest_ms", Median(deletes));
    return 0;
}
