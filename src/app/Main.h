#pragma once
#include <QString>
#include <memory>

class frmMain;

// Reads the settings of the program in `programFolder`, writes them straight back
// (creating a missing file with its defaults), then creates, loads and shows the main
// window. A malformed number in the settings file is reported in a message box naming the
// file, section, key and value, and gives no window: nullptr.
std::unique_ptr<frmMain> StartUp(const QString& programFolder);

// The process: starts up and runs the event loop until the main window has closed. The
// exit status is 0, or 1 when the settings file stopped the start.
int Main(int argc, char* argv[]);
