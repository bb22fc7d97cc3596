// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/Addresses.h"
#include "base/FileSystem.h"
#include "codec/Budget.h"
#include "codec/LayoutTexts.h"
#include "core/EditorView.h"
#include "core/SystemServices.h"
#include "image/FirmwareDescriptor.h"
#include "writers/VkpPatch.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset {

// How a command ended, for callers that need more than what the user was shown (the command-line tool).
enum class Outcome {
    Done,
    Declined,    // the user said no, cancelled a dialog, or nothing was chosen
    FileError,   // a file could not be opened, read or written
    Unsupported, // the firmware is not supported, or the image is too short for it
    DoesNotFit,  // the layouts do not fit their storage or cannot be stored
};

// What a file command did and what the user was told: the text of the box that reported a failure, or
// else the file and the status line, as "path" CR LF CR LF "line". Empty when the user declined.
struct CommandResult
{
    Outcome outcome = Outcome::Done;
    std::u16string message;
};

// The editor: all state of the program and every command, over a window it knows only as an EditorView.
// Field names follow the program's own vocabulary (image, imageSize, id, ...).
class Editor
{
  public:
    Editor(EditorView& view, FileSystem& files, SystemServices& system);
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

  public: // the loaded image and its firmware
    FileBytes image;
    std::int32_t imageSize = 0;
    BlockCopy patchBase; // the old bytes of the last patch: only the blocks the writer can change
    FirmwareDescriptor
        firmware; // id, englishTable ... wapStorage, newGeneration, sharedCapacity of the loaded firmware
    bool hasRussian = true; // the loaded firmware has the Russian layouts
    std::int32_t addressCorrection = 0;
    Budget budget; // sharedUsed, englishUsed, russianUsed of the last status update

  public: // files, fixed strings and flags
    std::u16string fullflashPath;
    std::u16string layoutFilePath;
    std::u16string patchPath;
    std::u16string registeredPatcherCommand;
    std::u16string CrLf2;
    std::u16string Tb;
    bool writeImageFile = false;
    bool loadingFromCommandLine = false;
    std::u16string dialogTitle;
    std::u16string dialogFileName; // the file dialog's current file name
    // The addresses of the home page, forum and mail commands; empty: the command is disabled.
    std::u16string homePage{kHomePage};
    std::u16string forumPage{kForumPage};
    std::u16string mailAddress{kMailAddress};

  public: // start-up, shut-down, change guard
    void start();
    [[nodiscard]] bool userKeepsChanges();
    void clearFields();
    [[nodiscard]] bool fileExists(const std::u16string& sf);
    void Form_Unload(int& Cancel);
    void exitCommand();

  public: // commands of the menus and the toolbar
    Outcome openFullflashCommand();
    Outcome saveFullflashCommand();
    Outcome saveFullflashAsCommand();
    Outcome savePatchAsCommand();
    Outcome openLayoutFileCommand();
    Outcome saveLayoutFileCommand();
    Outcome saveLayoutFileAsCommand();
    void unicodeCommand();
    void koi8Command();
    void wapUntouchedCommand();
    void wapFromEnglishCommand();
    void wapFromRussianCommand();
    void viewImageCommand();
    void startPatcherCommand();
    void calculatorCommand();
    void characterMapCommand();
    void helpCommand();
    void homePageCommand();
    void forumCommand();
    void mailCommand();
    void aboutCommand();

    // Runs the command of a menu item or toolbar key by its name; an unknown name does nothing.
    void runCommand(std::string_view name);
    void runToolbarButton(std::string_view key) { runCommand(key); }

    // The file commands past their dialogs, for a path already chosen: the commands above, start-up, a
    // dropped file and the command-line tool all reach the files through these. They ask no question and
    // show no dialog; refusals and errors are shown as by the commands and returned as the message.
    CommandResult openFullflash(const std::u16string& path);
    CommandResult openLayoutFile(const std::u16string& path);
    CommandResult saveFullflashAs(const std::u16string& path);
    CommandResult saveLayoutFileAs(const std::u16string& path);
    CommandResult savePatchAs(const std::u16string& path);

    // A file dropped on the window: a fullflash (.bin, .fls) or a layout file (.lay) is opened after the
    // same question about unsaved changes as its command asks. Any other file is declined.
    Outcome openDropped(const std::u16string& path);
    [[nodiscard]] static bool canOpenDropped(const std::u16string& path);
    // Whether a path names a layout file (*.lay, in any case of letters).
    [[nodiscard]] static bool namesLayoutFile(const std::u16string& path);
    // The file the start-up opens for the program's command line: the line itself, or what stands
    // between its surrounding double quotes.
    [[nodiscard]] static std::u16string commandLineFile(const std::u16string& line);

  public: // status bar and budget
    void updateStatusBar(const std::u16string& s1, const std::u16string& s2, const std::u16string& s6);
    [[nodiscard]] bool refuseOverflow();
    // The shared keys' capacity: the loaded firmware's, or the larger one while no fullflash is loaded,
    // so that a layout file can be edited and saved on its own.
    [[nodiscard]] int sharedCapacity() const
    {
        return image.empty() ? kLargeSharedCapacity : firmware.sharedCapacity;
    }
    void showRussianLayouts(bool nsl);

  public: // file dialog and file access
    [[nodiscard]] bool DialogErr(int d, int e);
    // Reports a file that cannot be opened in the status bar; the command's message adds the system's
    // reason when there is one.
    void reportUnopenableFile(const std::u16string& q, const std::string& reason = {});
    // Reads a whole file for an open command; reports a failure and returns true.
    [[nodiscard]] bool readFileFailed(const std::u16string& q, FileBytes& bytes);
    // Replaces a file safely; reports a failure and returns true. The old file survives any failure.
    [[nodiscard]] bool writeFileFailed(const std::u16string& q, std::span<const std::uint8_t> bytes);

    [[nodiscard]] EditorView& view() { return m_view; }
    [[nodiscard]] bool koi8Checked() const { return m_view.menuChecked("Koi"); }

  private:
    void keyChanged();
    // Enables a key field with the editable colour, or disables it with the greyed one.
    void setFieldEditable(Layout a, int key, bool editable);
    // Opens the fields a load fills: every eb key the firmware has, the letter keys of the other layouts.
    void enableLoadedFields(int keys);
    void enableLoadedImageCommands(const std::u16string& path);
    void followWapAvailability();
    [[nodiscard]] bool refuseUnstorable(const LayoutTexts& texts);
    [[nodiscard]] Outcome encodeIntoFlash();
    [[nodiscard]] CommandResult writeFullflash();
    [[nodiscard]] CommandResult writeLayoutFile();

    // Shows a box; a refusal's text becomes the message of the file command that runs.
    int tell(const std::u16string& text, int style);
    // The result of a file command, with the message it left.
    [[nodiscard]] CommandResult finish(Outcome outcome);
    // Reports a finished command in the status bar and as its message.
    [[nodiscard]] CommandResult done(const std::u16string& s1, const std::u16string& path,
                                     const std::u16string& s6);

    std::u16string m_told; // what the running file command told the user last
    // A command is filling the fields: the status bar is brought up to date once, when it ends, rather
    // than recounted after every field.
    bool m_filling = false;

    EditorView& m_view;
    FileSystem& m_files;
    SystemServices& m_system;
};

} // namespace klavoset
