#pragma once
// The desktop's file-type icons, as a file manager shows them: the type of a file (read from the
// file when it exists, else guessed from the name's extension; folders as folders) named by the
// shared MIME database and drawn from the icon theme. Small icons are 16 pixels, large 32.

#include <string_view>

class TIcon;

int ShellIconSize(bool Large);
// Fills Icon with the type icon of Name (a program path); false, Icon untouched, when the name
// is empty or the theme has no icon for its type.
bool GetShellFileIcon(std::string_view Name, bool Large, TIcon* Icon);

// The type icons as one list shared by the program (the system image list of Windows): the
// index of Name's type in it, the type taking the next index when first asked for; -1 for an
// empty name.
int ShellIconIndex(std::string_view Name);
// The icon of the type at an index given out; false, Icon untouched, for any other index or a
// type the theme has no icon for.
bool GetShellIconOfIndex(int Index, bool Large, TIcon* Icon);
