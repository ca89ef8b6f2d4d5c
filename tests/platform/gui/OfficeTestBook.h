#pragma once
// Workbook packages made by the tests themselves with libzip, and read back entry by entry:
// a workbook as a spreadsheet program saves it (a formula with its calculation chain, a date
// style, a column width, merged cells, names global and local, the sheet titles in the document
// properties), for checking that writing one sheet keeps everything else.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

using TZipEntries = std::vector<std::pair<std::string, std::string>>;

// A zip of the entries, stored or deflated as libzip chooses.
inline std::string ZipOf(const TZipEntries& entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* zip = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    for (const auto& [name, data] : entries)
        zip_file_add(zip, name.c_str(), zip_source_buffer(zip, data.data(), data.size(), 0), 0);
    zip_close(zip);
    zip_source_open(target);
    zip_source_seek(target, 0, SEEK_END);
    std::string bytes(static_cast<size_t>(zip_source_tell(target)), '\0');
    zip_source_seek(target, 0, SEEK_SET);
    zip_source_read(target, bytes.data(), bytes.size());
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

// Every entry of a zip, inflated, by name.
inline std::map<std::string, std::string> EntriesOf(const std::string& bytes)
{
    std::map<std::string, std::string> entries;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (!zip) {
        zip_source_free(source);
        return entries;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string data(static_cast<size_t>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        if (file && zip_fread(file, data.data(), data.size()) == static_cast<zip_int64_t>(data.size()))
            entries[stat.name] = data;
        if (file)
            zip_fclose(file);
    }
    zip_discard(zip);
    return entries;
}

constexpr const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kPackageRel = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kOfficeRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kSheetMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kSheetType = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

// Sheets "Data" (A1 1, A2 2, A3 =SUM(A1:A2), B1 a date, C2 a shared text, column A wide, C1:D1
// merged) and "Other" (A1 "x"), "Other" active; the name "Total" is Data!$A$3 and "Other" has
// a print area of its own.
inline TZipEntries ExcelLikeBook()
{
    const std::string o = kOfficeRel, t = kSheetType;
    const auto rel = [](const std::string& id, const std::string& type, const std::string& target) {
        return "<Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" + target + "\"/>";
    };
    const auto part = [&](const std::string& name, const std::string& type) {
        return "<Override PartName=\"" + name + "\" ContentType=\"" + type + "\"/>";
    };
    return {
        {"[Content_Types].xml",
         kXmlHead +
             std::string("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                         "<Default Extension=\"rels\" ContentType=\"application/"
                         "vnd.openxmlformats-package.relationships+xml\"/>"
                         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>") +
             part("/xl/workbook.xml", t + "sheet.main+xml") + part("/xl/worksheets/sheet1.xml", t + "worksheet+xml") +
             part("/xl/worksheets/sheet2.xml", t + "worksheet+xml") + part("/xl/styles.xml", t + "styles+xml") +
             part("/xl/sharedStrings.xml", t + "sharedStrings+xml") + part("/xl/calcChain.xml", t + "calcChain+xml") +
             part("/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml") +
             part("/docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml") +
             "</Types>"},
        {"_rels/.rels",
         kXmlHead + std::string("<Relationships xmlns=\"") + kPackageRel + "\">" +
             rel("rId1", o + "/officeDocument", "xl/workbook.xml") +
             rel("rId2", "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
                 "docProps/core.xml") +
             rel("rId3", o + "/extended-properties", "docProps/app.xml") + "</Relationships>"},
        {"docProps/app.xml",
         kXmlHead +
             std::string(
                 "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
                 "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
                 "<Application>Microsoft Excel</Application><HeadingPairs><vt:vector size=\"4\" baseType=\"variant\">"
                 "<vt:variant><vt:lpstr>Worksheets</vt:lpstr></vt:variant><vt:variant><vt:i4>2</vt:i4></vt:variant>"
                 "<vt:variant><vt:lpstr>Named Ranges</vt:lpstr></vt:variant><vt:variant><vt:i4>1</vt:i4></vt:variant>"
                 "</vt:vector></HeadingPairs><TitlesOfParts><vt:vector size=\"3\" baseType=\"lpstr\">"
                 "<vt:lpstr>Data</vt:lpstr><vt:lpstr>Other</vt:lpstr><vt:lpstr>Total</vt:lpstr></vt:vector>"
                 "</TitlesOfParts></Properties>")},
        {"docProps/core.xml",
         kXmlHead +
             std::string("<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/"
                         "metadata/core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
                         "<dc:creator>player</dc:creator></cp:coreProperties>")},
        {"xl/workbook.xml",
         kXmlHead + std::string("<workbook xmlns=\"") + kSheetMain + "\" xmlns:r=\"" + o +
             "\"><bookViews><workbookView activeTab=\"1\"/></bookViews><sheets>"
             "<sheet name=\"Data\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Other\" sheetId=\"2\" r:id=\"rId2\"/>"
             "</sheets><definedNames><definedName name=\"_xlnm.Print_Area\" localSheetId=\"1\">Other!$A$1:$B$2"
             "</definedName><definedName name=\"Total\">Data!$A$3</definedName></definedNames>"
             "<calcPr calcId=\"191029\"/></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         kXmlHead + std::string("<Relationships xmlns=\"") + kPackageRel + "\">" +
             rel("rId1", o + "/worksheet", "worksheets/sheet1.xml") +
             rel("rId2", o + "/worksheet", "worksheets/sheet2.xml") + rel("rId3", o + "/styles", "styles.xml") +
             rel("rId4", o + "/sharedStrings", "sharedStrings.xml") + rel("rId5", o + "/calcChain", "calcChain.xml") +
             "</Relationships>"},
        {"xl/styles.xml",
         kXmlHead + std::string("<styleSheet xmlns=\"") + kSheetMain +
             "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
             "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
             "patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border><left/><right/><top/><bottom/>"
             "<diagonal/></border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
             "borderId=\"0\"/></cellStyleXfs><cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
             "borderId=\"0\" xfId=\"0\"/><xf numFmtId=\"14\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
             "applyNumberFormat=\"1\"/></cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
             "builtinId=\"0\"/></cellStyles></styleSheet>"},
        {"xl/sharedStrings.xml",
         kXmlHead + std::string("<sst xmlns=\"") + kSheetMain +
             "\" count=\"1\" uniqueCount=\"1\"><si><t>Label</t></si></sst>"},
        {"xl/calcChain.xml",
         kXmlHead + std::string("<calcChain xmlns=\"") + kSheetMain + "\"><c r=\"A3\" i=\"1\"/></calcChain>"},
        {"xl/worksheets/sheet1.xml",
         kXmlHead + std::string("<worksheet xmlns=\"") + kSheetMain + "\" xmlns:r=\"" + o +
             "\"><dimension ref=\"A1:D3\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
             "<cols><col min=\"1\" max=\"1\" width=\"25.7109375\" customWidth=\"1\"/></cols><sheetData>"
             "<row r=\"1\" spans=\"1:4\"><c r=\"A1\"><v>1</v></c><c r=\"B1\" s=\"1\"><v>45002</v></c></row>"
             "<row r=\"2\" spans=\"1:4\"><c r=\"A2\"><v>2</v></c><c r=\"C2\" t=\"s\"><v>0</v></c></row>"
             "<row r=\"3\" spans=\"1:4\"><c r=\"A3\"><f>SUM(A1:A2)</f><v>3</v></c></row></sheetData>"
             "<mergeCells count=\"1\"><mergeCell ref=\"C1:D1\"/></mergeCells></worksheet>"},
        {"xl/worksheets/sheet2.xml",
         kXmlHead + std::string("<worksheet xmlns=\"") + kSheetMain +
             "\"><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews><sheetData>"
             "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>x</t></is></c></row></sheetData></worksheet>"},
    };
}

// ExcelLikeBook with the sheet "Data" holding formulas kept once and shared: A2:A5 hold 2 to 5;
// C2:C5 one formula filled down (=A2*2), shared from C2; D2:E3 one filled across and down
// (=$A2+A$2), shared from D2. The calculation chain lists them.
inline TZipEntries SharedFormulaBook()
{
    TZipEntries entries = ExcelLikeBook();
    for (auto& [name, bytes] : entries)
        if (name == "xl/worksheets/sheet1.xml")
            bytes = std::string(kXmlHead) + "<worksheet xmlns=\"" + kSheetMain +
                "\"><sheetData>"
                "<row r=\"2\"><c r=\"A2\"><v>2</v></c><c r=\"C2\"><f t=\"shared\" ref=\"C2:C5\" si=\"0\">A2*2</f>"
                "<v>4</v></c><c r=\"D2\"><f t=\"shared\" ref=\"D2:E3\" si=\"1\">$A2+A$2</f><v>4</v></c>"
                "<c r=\"E2\"><f t=\"shared\" si=\"1\"/><v>4</v></c></row>"
                "<row r=\"3\"><c r=\"A3\"><v>3</v></c><c r=\"C3\"><f t=\"shared\" si=\"0\"/><v>6</v></c>"
                "<c r=\"D3\"><f t=\"shared\" si=\"1\"/><v>5</v></c><c r=\"E3\"><f t=\"shared\" si=\"1\"/><v>5</v></c>"
                "</row><row r=\"4\"><c r=\"A4\"><v>4</v></c><c r=\"C4\"><f t=\"shared\" si=\"0\"/><v>8</v></c></row>"
                "<row r=\"5\"><c r=\"A5\"><v>5</v></c><c r=\"C5\" s=\"1\"><f t=\"shared\" si=\"0\" ca=\"1\"/>"
                "<v>10</v></c></row></sheetData></worksheet>";
        else if (name == "xl/calcChain.xml")
            bytes = std::string(kXmlHead) + "<calcChain xmlns=\"" + kSheetMain +
                "\"><c r=\"C2\" i=\"1\"/><c r=\"D2\"/><c r=\"E2\"/><c r=\"C3\"/><c r=\"D3\"/><c r=\"E3\"/>"
                "<c r=\"C4\"/><c r=\"C5\"/></calcChain>";
    return entries;
}

// How far the peak resident size of a child process running Work rises above the size at the
// start, in MiB, and what Work gave back (at most 4 KiB). Measured in a child so that what the
// test process reached before does not hide it.
template <class Work>
std::pair<long, std::string> PeakGrowthMiB(Work work)
{
    long pages = 0, resident = 0;
    if (FILE* statm = fopen("/proc/self/statm", "r")) {
        if (fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        fclose(statm);
    }
    const long before = resident * (sysconf(_SC_PAGESIZE) / 1024);
    int channel[2];
    if (pipe(channel) != 0)
        return {-1, "no pipe"};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const std::string result = work().substr(0, 4096);
        if (write(channel[1], result.data(), result.size()) < 0)
            _exit(1);
        _exit(0);
    }
    close(channel[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<size_t>(got));
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {(usage.ru_maxrss - before) / 1024, result};
}
