#pragma once

namespace kestrel::texts {

// The program's name: the main window's title, and the caption of every
// message box the program shows.
inline constexpr char16_t ProgramName[] = u"Kestrel";

}  // namespace kestrel::texts
