// Saving and loading 100,000 rows as CSV and as the grid's own file, timed in this process, and
// Python's csv module (python3) reading the CSV the grid wrote and writing those rows again,
// timed inside Python. A load must give back the cells it was saved from, else its figure is -1.

#include "bench/grid/GridBenchFiles.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bench/grid/GridBenchMeasure.h"
#include "grid/control/CellGrid.h"

namespace {

bool SameCells(const TCellGrid& a, const TCellGrid& b)
{
    if (a.ColCount() != b.ColCount() || a.RowCount() != b.RowCount())
        return false;
    for (int r = 0; r < a.RowCount(); ++r)
        for (int c = 0; c < a.ColCount(); ++c)
            if (a.Cells(c, r) != b.Cells(c, r))
                return false;
    return true;
}

// Python reads the file with csv.reader and writes the rows with csv.writer; it prints the two
// times in milliseconds.
constexpr const char* kPython = R"(import csv, sys, time
t = time.perf_counter()
with open(sys.argv[1], newline='', encoding='cp949') as f:
    rows = list(csv.reader(f))
read = (time.perf_counter() - t) * 1000
t = time.perf_counter()
with open(sys.argv[2], 'w', newline='', encoding='cp949') as f:
    csv.writer(f).writerows(rows)
write = (time.perf_counter() - t) * 1000
print(len(rows), read, write)
)";

}  // namespace

void FileMetrics(int Rows, int Cols, const std::function<std::string(int, int)>& Cell)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-grid-files-XXXXXX").string();
    const std::string folder = mkdtemp(pattern.data());
    TCellGrid grid(nullptr);
    grid.SetColCount(Cols);
    grid.SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            grid.SetCells(c, r, Cell(c, r));

    const AnsiString csv = folder + "/grid.csv", file = folder + "/grid.grd";
    Metric("grid_save_csv_ms", Millis([&] { grid.SaveToCSV(csv); }));
    TCellGrid csvBack(nullptr);
    const double loadCsv = Millis([&] { csvBack.LoadFromCSV(csv); });
    Metric("grid_load_csv_ms", SameCells(grid, csvBack) ? loadCsv : -1);
    Metric("grid_save_file_ms", Millis([&] { grid.SaveToFile(file); }));
    TCellGrid fileBack(nullptr);
    const double loadFile = Millis([&] { fileBack.LoadFromFile(file); });
    Metric("grid_load_file_ms", SameCells(grid, fileBack) ? loadFile : -1);

    const std::string script = folder + "/bench.py";
    std::ofstream(script) << kPython;
    double read = -1, write = -1;
    int rows = 0;
    const std::string command = "python3 " + script + " " + csv + " " + folder + "/python.csv";
    if (FILE* pipe = popen(command.c_str(), "r")) {
        if (std::fscanf(pipe, "%d %lf %lf", &rows, &read, &write) != 3 || rows != Rows)
            read = write = -1;
        pclose(pipe);
    }
    Metric("python_csv_write_ms", write);
    Metric("python_csv_read_ms", read);
    std::filesystem::remove_all(folder);
}
