// Sorting 100,000 rows of the bench's five kinds of cells (a Hangul name with a number, an
// integer, a decimal, a Hangul word, a date written day first), in a shuffled order: by the
// text column, the integer column as ssNumeric, the date column as ssShortDateEU and by two
// sort-index entries (the word ascending, the integer descending). Each sort starts from the
// same shuffled rows and must leave them in order, else its figure is -1.
//
// Peers in the same run: QStandardItemModel::sort on the same text column, and GNU sort
// (LC_ALL=C, TAB separated, the text column to the end of the line) on the same rows written to
// a file, timed as a process. The grid's order of the text column must equal GNU sort's (the
// names are distinct): "METRIC grid_sort_same_as_gnu 1".

#include <sys/wait.h>
#include <unistd.h>

#include <QStandardItemModel>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "bench/grid/GridBenchRows.h"
#include "grid/control/CellGrid.h"
#include "platform/core/Cp949.h"

namespace {

constexpr int kCols = 5;

// The cells of a row in cp949.
std::vector<std::string> RowCells(int row)
{
    static const char* const words[] = {"사과", "배", "포도", "복숭아", "수박", "참외", "딸기"};
    return {Utf8ToCp949("사용자") + std::to_string(row), std::to_string(row * 7 % 100000),
            std::to_string(row % 1000) + "." + std::to_string(row % 97), Utf8ToCp949(words[row % 7]),
            std::to_string(1 + row % 28) + "-" + std::to_string(1 + row / 28 % 12) + "-" +
                std::to_string(1950 + row / 336 % 70)};
}

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class TSortBench {
public:
    explicit TSortBench(int rows) : FRows(rows), FOrder(static_cast<size_t>(rows))
    {
        std::iota(FOrder.begin(), FOrder.end(), 0);
        std::shuffle(FOrder.begin(), FOrder.end(), std::mt19937(29));
        FGrid.SetColCount(kCols);
        FGrid.SetRowCount(rows + 1);
        FGrid.OnGetFormat = [this](TObject*, int col, TSortStyle& style, AnsiString&, AnsiString&) {
            if (col == 1 && FNumeric)
                style = ssNumeric;
            else if (col == 4)
                style = ssShortDateEU;
        };
    }

    // The shuffled rows back in the grid.
    void Refill()
    {
        for (int r = 0; r < FRows; ++r) {
            const std::vector<std::string> cells = RowCells(FOrder[static_cast<size_t>(r)]);
            for (int c = 0; c < kCols; ++c)
                FGrid.SetCells(c, r + 1, cells[static_cast<size_t>(c)]);
        }
    }

    // A sort by one column; -1 when the rows are not in order afterwards.
    double ByColumn(int col, bool numeric)
    {
        Refill();
        FNumeric = numeric;
        FGrid.SortIndexes()->Clear();
        FGrid.SetSortColumn(col);
        const auto start = std::chrono::steady_clock::now();
        FGrid.QSort();
        const double ms = Since(start);
        for (int r = 1; r < FRows; ++r)
            if (FGrid.CompareLine(col, r, r + 1) > 0)
                return -1;
        return ms;
    }

    double ByIndexes()
    {
        Refill();
        FNumeric = true;
        TSortIndexList* list = FGrid.SortIndexes();
        list->Clear();
        list->AddIndex(3, true);
        list->AddIndex(1, false);
        const auto start = std::chrono::steady_clock::now();
        FGrid.QSortIndexed();
        const double ms = Since(start);
        for (int r = 1; r < FRows; ++r)
            if (FGrid.CompareLineIndexed(0, r, r + 1) > 0)
                return -1;
        return ms;
    }

    // The text column as the last sort by it left it.
    std::vector<std::string> TextColumn()
    {
        ByColumn(0, false);
        std::vector<std::string> keys;
        for (int r = 1; r <= FRows; ++r)
            keys.push_back(FGrid.Cells(0, r));
        return keys;
    }

    double QtSort() const
    {
        QStandardItemModel model(FRows, kCols);
        for (int r = 0; r < FRows; ++r) {
            const std::vector<std::string> cells = RowCells(FOrder[static_cast<size_t>(r)]);
            for (int c = 0; c < kCols; ++c)
                model.setItem(r, c,
                              new QStandardItem(QString::fromStdString(Cp949ToUtf8(cells[static_cast<size_t>(c)]))));
        }
        const auto start = std::chrono::steady_clock::now();
        model.sort(0);
        return Since(start);
    }

    // GNU sort on the same rows in a file; the first fields of its output in `keys`.
    double GnuSort(std::vector<std::string>& keys) const
    {
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("bench-grid-sort-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        const std::string in = (dir / "rows.txt").string(), out = (dir / "sorted.txt").string();
        {
            std::ofstream file(in, std::ios::binary);
            for (int r = 0; r < FRows; ++r) {
                const std::vector<std::string> cells = RowCells(FOrder[static_cast<size_t>(r)]);
                for (int c = 0; c < kCols; ++c)
                    file << cells[static_cast<size_t>(c)] << (c + 1 < kCols ? '\t' : '\n');
            }
        }
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("LC_ALL", "C", 1);
            execlp("sort", "sort", "-t", "\t", "-k1", "-o", out.c_str(), in.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        const double ms = Since(start);
        std::ifstream sorted(out, std::ios::binary);
        for (std::string line; std::getline(sorted, line);)
            keys.push_back(line.substr(0, line.find('\t')));
        std::filesystem::remove_all(dir);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
    }

private:
    int FRows;
    std::vector<int> FOrder;
    TCellGrid FGrid{nullptr};
    bool FNumeric = false;
};

}  // namespace

void SortBench(int Rows)
{
    TSortBench bench(Rows);
    const auto metric = [](const char* name, double value) { std::printf("METRIC %s %.1f\n", name, value); };
    metric("grid_sort_alpha_ms", bench.ByColumn(0, false));
    metric("grid_sort_numeric_ms", bench.ByColumn(1, true));
    metric("grid_sort_date_ms", bench.ByColumn(4, false));
    metric("grid_sort_index_ms", bench.ByIndexes());
    metric("qt_model_sort_ms", bench.QtSort());
    std::vector<std::string> gnu;
    metric("gnu_sort_ms", bench.GnuSort(gnu));
    std::printf("METRIC grid_sort_same_as_gnu %d\n", bench.TextColumn() == gnu ? 1 : 0);
}
