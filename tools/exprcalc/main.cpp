// exprcalc [--c] EXPR...
// Compiles and evaluates each expression in one parser (the C-style one under --c), so
// variables assigned by one are seen by the next, and prints one line for each: its value as
// text, or "error: " and the parser's message.
#include <cstdio>
#include <cstring>
#include <memory>

#include "expr/Parseexpr.h"

int main(int argc, char** argv)
{
    int first = 1;
    bool cStyle = argc > 1 && std::strcmp(argv[1], "--c") == 0;
    if (cStyle)
        ++first;
    if (first >= argc) {
        std::fprintf(stderr, "usage: exprcalc [--c] EXPR...\n");
        return 2;
    }
    std::unique_ptr<TExpressionParser> parser =
        cStyle ? std::make_unique<TCStyleParser>() : std::make_unique<TExpressionParser>();
    int failures = 0;
    for (int i = first; i < argc; ++i) {
        try {
            AnsiString value = parser->GetAsString(parser->AddExpression(argv[i]));
            std::printf("%s\n", value.c_str());
        } catch (const Exception& e) {
            std::printf("error: %s\n", e.Message.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
