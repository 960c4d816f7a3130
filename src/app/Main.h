#pragma once
#include "app/StartArguments.h"
#include "core/document/Document.h"
#include "windows/main/frmMain.h"

#include <QString>
#include <memory>

// The document the user works on and the main window that works on it.
struct Session {
    explicit Session(SettingsRecord settings) : document(std::move(settings)), form(document) {}

    Document document;
    frmMain form;
};

// Reads the settings of the program in `programFolder`, writes them straight back
// (creating a missing file with its defaults), then creates, loads and shows the main
// window. Pictures named in `arguments` take the place of the restored paths before the
// window opens them, as if typed into the path fields. A malformed number in the settings
// file is reported in a message box naming the file, section, key and value, and gives no
// window: nullptr.
std::unique_ptr<Session> StartUp(const QString& programFolder,
                                 const StartArguments& arguments = {});

// The process: reads the command line, starts up and runs the event loop until the main
// window has closed. The exit status is 0; 1 when the settings file stopped the start; 2
// when the command line was refused.
int Main(int argc, char* argv[]);
