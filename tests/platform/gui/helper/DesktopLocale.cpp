// desktop_locale: starts the application object as the program does, under whatever locale the
// environment names, then prints how the C library writes and reads numbers and which character
// set texts have: printf's "%.1f" of 2.5, strtod's value of "1.5", and the codeset.

#include <langinfo.h>

#include <cstdio>
#include <cstdlib>

#include "platform/gui/Application.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    std::printf("%.1f %g %s\n", 2.5, std::strtod("1.5", nullptr), nl_langinfo(CODESET));
    return 0;
}
