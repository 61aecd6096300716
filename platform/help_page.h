#pragma once
// Where the program's help page lies. In a build tree it lies beside the
// program; installed, the program lies in <prefix>/bin and the page in
// <prefix>/share/kontura. Looking relative to the program keeps an
// installation movable (a different prefix, a DESTDIR tree).

#include <string>

namespace kontura {

// The file name of the help page.
inline constexpr char kHelpPageName[] = "kontura-hilfe.html";

// The help page for a program in program_dir: beside the program when it is
// there, else in the installed data directory relative to program_dir. When
// neither exists, the path beside the program, so that opening it fails the
// way a missing page always has.
std::string HelpPagePath(const std::string& program_dir);

}  // namespace kontura
