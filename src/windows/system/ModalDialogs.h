#pragma once
#include "base/ColorRef.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QDialog;
class QWidget;

// Every modal window of the program opens through this seam: the common file and colour
// dialogs, message boxes and our own modal dialogs. The program installs the Qt
// implementation; tests install scripted answers, so no test ever waits for a person.

// Flags of the file dialogs, as the callers combine them.
constexpr std::int32_t OFN_HIDEREADONLY = 0x4;
constexpr std::int32_t OFN_ALLOWMULTISELECT = 0x200;
constexpr std::int32_t OFN_FILEMUSTEXIST = 0x1000;
constexpr std::int32_t OFN_CREATEPROMPT = 0x2000;

struct FileDialogRequest {
    QWidget* owner = nullptr;
    QString title;
    // Filters as description NUL pattern NUL ..., patterns separated by ';'.
    QString filterPattern;
    std::int32_t flags = 0;
    QString initialFolder;   // empty: the platform's default folder
};

struct FileDialogAnswer {
    bool confirmed = false;
    // The chosen path; for a multiple selection the folder, NUL and the names separated
    // by NUL. Names are returned as typed: no extension is added.
    QString file;
    std::int32_t filterIndex = 0;   // the selected filter, counted from 1
};

struct ColourDialogRequest {
    QWidget* owner = nullptr;
    ColorRef colour = 0;
    std::array<ColorRef, 16> customColours{};
};

struct ColourDialogAnswer {
    bool confirmed = false;
    ColorRef colour = 0;
};

// Message box types and answers.
constexpr std::uint32_t MB_OK = 0x0;
constexpr std::uint32_t MB_YESNO = 0x4;
constexpr std::uint32_t MB_ICONSTOP = 0x10;
constexpr std::uint32_t MB_ICONQUESTION = 0x20;
constexpr std::uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct MessageBoxRequest {
    QWidget* owner = nullptr;
    QString text;
    QString title;
    std::uint32_t type = MB_OK;
};

class ModalDialogs {
public:
    virtual ~ModalDialogs() = default;
    virtual FileDialogAnswer GetOpenFileName(const FileDialogRequest& request) = 0;
    virtual FileDialogAnswer GetSaveFileName(const FileDialogRequest& request) = 0;
    virtual ColourDialogAnswer ChooseColor(const ColourDialogRequest& request) = 0;
    // Returns IDOK, IDYES or IDNO.
    virtual int MessageBox(const MessageBoxRequest& request) = 0;
    // Shows one of the program's own dialogs modally and returns when it has closed.
    virtual void ShowModal(QDialog& dialog) = 0;
};

// The implementation in use: the Qt one unless another was installed.
ModalDialogs& Dialogs();
// Installs an implementation and returns the one it replaces.
std::unique_ptr<ModalDialogs> SetDialogs(std::unique_ptr<ModalDialogs> dialogs);
