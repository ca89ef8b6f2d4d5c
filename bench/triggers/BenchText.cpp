#include "bench/triggers/BenchText.h"

#include <random>

#include "platform/core/Cp949.h"

namespace {

// Syllables of ordinary text, and the disjoint set that trigger names are made of.
const char* const TextSyllables[] = {"가", "나", "다", "라", "마", "바", "사", "아", "자", "차", "카", "타",
                                     "파", "하", "고", "노", "도", "로", "모", "보", "소", "오", "조", "초",
                                     "은", "는", "이", "을", "를", "에", "서", "의", "와", "과", "니", "다"};
const char* const NameSyllables[] = {"갈", "낼", "덜", "럴", "멀", "벌", "설", "얼", "절", "철", "컬", "털",
                                     "펄", "헐", "굴", "눌", "둘", "룰", "물", "불", "술", "울", "줄", "춥",
                                     "큭", "툭", "푹", "훅", "깍", "딱", "빡", "싹", "짝", "꺽", "떡", "뻑"};
const char* const EnglishWords[] = {"the",  "a",     "goblin", "sword", "north",  "south", "east",  "west",   "you",
                                    "see",  "here",  "is",     "an",    "old",    "guard", "hits",  "misses", "gold",
                                    "room", "exits", "door",   "open",  "closed", "shop",  "potion"};

std::string Cp(const char* utf8) { return Utf8ToCp949(utf8); }

// The name word of trigger i: three syllables no ordinary line holds.
std::string NameOf(int i)
{
    const int n = static_cast<int>(std::size(NameSyllables));
    return Cp(NameSyllables[i % n]) + Cp(NameSyllables[(i / n) % n]) + Cp(NameSyllables[(i / n / n) % n]);
}

}  // namespace

std::vector<TBenchTrigger> MakeBenchTriggers(int count)
{
    std::vector<TBenchTrigger> triggers;
    for (int i = 0; i < count; ++i) {
        const std::string name = NameOf(i);
        switch (i % 4) {
        case 0:  // a literal line
            triggers.push_back({name + Cp("가 쓰러졌습니다."), "get all", name + Cp("가 쓰러졌습니다.")});
            break;
        case 1:  // numbers
            triggers.push_back({name + Cp(" 체력: ") + "%d/%d", "say %0 %1", name + Cp(" 체력: ") + "%d/%d"});
            break;
        case 2:  // a word
            triggers.push_back({"%s" + Cp("님이 ") + name + Cp("에게 말합니다"), "reply %0",
                                "%w" + Cp("님이 ") + name + Cp("에게 말합니다")});
            break;
        default:  // any text
            triggers.push_back({name + " tells you %*", "say %0", name + " tells you %*"});
            break;
        }
    }
    return triggers;
}

std::vector<std::string> MakeBenchLines(int lines, const std::vector<TBenchTrigger>& triggers, uint32_t seed)
{
    std::mt19937 random(seed);
    auto below = [&](size_t n) { return static_cast<size_t>(random() % n); };
    auto word = [&] {
        std::string w;
        if (below(3) == 0)
            return std::string(EnglishWords[below(std::size(EnglishWords))]);
        const size_t syllables = 1 + below(4);
        for (size_t k = 0; k < syllables; ++k)
            w += Cp(TextSyllables[below(std::size(TextSyllables))]);
        return w;
    };
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(lines));
    for (int l = 0; l < lines; ++l) {
        if (!triggers.empty() && below(100) == 0) {
            const size_t t = below(triggers.size());
            const std::string name = NameOf(static_cast<int>(t));
            switch (t % 4) {
            case 0: out.push_back(name + Cp("가 쓰러졌습니다.")); break;
            case 1: out.push_back(name + Cp(" 체력: ") + std::to_string(below(500)) + "/500"); break;
            case 2: out.push_back("[" + word() + "] " + word() + Cp("님이 ") + name + Cp("에게 말합니다")); break;
            default: out.push_back(name + " tells you " + word() + " " + word()); break;
            }
            continue;
        }
        std::string line;
        const size_t words = 3 + below(10);
        for (size_t k = 0; k < words; ++k) {
            if (k)
                line += below(8) == 0 ? ", " : " ";
            line += word();
        }
        if (below(5) == 0)
            line += " " + std::to_string(below(1000));
        line += below(2) ? "." : "";
        out.push_back(line);
    }
    return out;
}
