// bench_client_corpus: the client benchmark's host text and trigger patterns, from the same
// generator as the trigger benchmark, for each trigger count:
//
//   bench_client_corpus --out DIR [--lines N] TRIGGERS...
//
// writes DIR/corpus-tT.txt, N lines (cp949, LF ends) of which about one in a hundred matches one
// of the T triggers, some in SGR colours, DIR/tintin-tT.txt, the patterns in TinTin++'s
// notation, one a line, and DIR/client-tT.Cmd, our command file with the same triggers: each
// answers "hit", and one more answers BENCH-END with BENCH-DONE.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/triggers/BenchText.h"
#include "platform/core/AtomicFile.h"
#include "script/CmdFile.h"
#include "script/RecordingHost.h"
#include "script/ScriptState.h"

namespace {

// Colour that a trigger never sees: a whole line in a bright colour, or its first word in
// another, each reset after.
std::string Coloured(const std::string& line, size_t index)
{
    const std::string colour = std::to_string(31 + index % 7);
    switch (index % 4) {
    case 1: return "\x1b[1;" + colour + "m" + line + "\x1b[0m";
    case 3: {
        const size_t space = line.find(' ');
        if (space == std::string::npos)
            return line;
        return "\x1b[" + colour + "m" + line.substr(0, space) + "\x1b[0m" + line.substr(space);
    }
    default: return line;
    }
}

// Our command file: the triggers on, each answering "hit".
bool WriteCommandFile(const std::string& path, const std::vector<TBenchTrigger>& triggers)
{
    TRecordingHost host;
    TScriptState state(host);
    state.CmdConfig.TrigMode = 1;
    auto add = [&state](const std::string& from, const std::string& to) {
        auto record = std::make_unique<cTriggers>();
        record->From = from;
        record->To = to;
        state.TriggerList.Add(std::move(record));
    };
    for (const TBenchTrigger& t : triggers)
        add(t.Pattern, "hit");
    add("BENCH-END", "BENCH-DONE");
    const TWriteResult written = AtomicWriteFile(path, CmdFileText(state));
    if (!written)
        std::fprintf(stderr, "bench_client_corpus: cannot write %s: %s\n", path.c_str(), written.Message.c_str());
    return static_cast<bool>(written);
}

bool Write(const std::string& path, const std::vector<std::string>& lines, bool colour)
{
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < lines.size(); ++i)
        out << (colour ? Coloured(lines[i], i) : lines[i]) << '\n';
    out.close();
    if (!out)
        std::fprintf(stderr, "bench_client_corpus: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder;
    int lines = 100000;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--out") && i + 1 < argc)
            folder = argv[++i];
        else if (!std::strcmp(argv[i], "--lines") && i + 1 < argc)
            lines = std::atoi(argv[++i]);
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (folder.empty() || counts.empty() || lines <= 0) {
        std::fprintf(stderr, "usage: bench_client_corpus --out DIR [--lines N] TRIGGERS...\n");
        return 2;
    }
    for (const int count : counts) {
        const auto triggers = MakeBenchTriggers(count);
        // The trigger benchmark's seeds: its figures and these describe the same text.
        const auto text = MakeBenchLines(lines, triggers, count ? 7 : 1);
        std::vector<std::string> patterns;
        for (const TBenchTrigger& t : triggers)
            patterns.push_back(t.TintinPattern);
        const std::string n = std::to_string(count);
        if (!Write(folder + "/corpus-t" + n + ".txt", text, true) ||
            !Write(folder + "/tintin-t" + n + ".txt", patterns, false) ||
            !WriteCommandFile(folder + "/client-t" + n + ".Cmd", triggers))
            return 1;
    }
    return 0;
}
