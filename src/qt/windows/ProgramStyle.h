#pragma once
// The look the main window's layout was drawn for: frames whose captions sit on their border
// and plain sunken boxes. A style the user asks for (-style, QT_STYLE_OVERRIDE) wins.

namespace qb {

// Whether the command line or the environment asks for a style; call before QApplication.
bool StyleRequested(int argc, char* argv[]);
// Gives the application the program's look.
void UseProgramStyle();

}  // namespace qb
