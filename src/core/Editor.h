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
#include "image/Staging.h"
#include "writers/LayoutWriter.h"
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

// The paragraph break inside the text of a message box.
inline const std::u16string kParagraphBreak = u"\r\n\r\n";

// The kinds of file the file dialog offers.
enum class FileKind { Fullflash, LayoutFile, Patch };

// The editor: all state of the program and every command, over a window it knows only as an EditorView.
class Editor
{
  public:
    Editor(EditorView& view, FileSystem& files, SystemServices& system);
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

  public: // the loaded image and its firmware
    // The fullflash as loaded and, after a save or a patch, with the layouts encoded into it.
    [[nodiscard]] const FileBytes& image() const { return m_image; }
    [[nodiscard]] const FirmwareDescriptor& firmware() const { return m_firmware; }
    // The Russian layouts are shown: the loaded firmware has them, or none is loaded.
    [[nodiscard]] bool hasRussian() const { return m_hasRussian; }
    [[nodiscard]] std::int32_t addressCorrection() const { return m_addressCorrection; }
    // The old bytes of the last patch: only the blocks the writer can change.
    [[nodiscard]] const BlockCopy& patchBase() const { return m_patchBase; }
    // The counts of the last status update.
    [[nodiscard]] const Budget& budget() const { return m_budget; }
    // The firmware's further key tables that a save may write over, as found when the image was loaded.
    [[nodiscard]] std::vector<std::int32_t> otherTables() const;
    // Those of them, or of their strings, that a save of the fields with the options as they stand would
    // change.
    [[nodiscard]] std::vector<std::int32_t> otherTablesWrittenOver() const;

  public: // what a save would write, as the editor holds it; the window shows it
    // The layouts differ from what was last loaded or saved (the window marks it in its status bar).
    [[nodiscard]] bool isModified() const { return m_modified; }
    // The encoding of the English layouts and the source of the WAP layout (the options' check marks).
    [[nodiscard]] const WriteOptions& options() const { return m_options; }

  public: // files and addresses
    [[nodiscard]] const std::u16string& fullflashPath() const { return m_fullflashPath; }
    [[nodiscard]] const std::u16string& layoutFilePath() const { return m_layoutFilePath; }
    [[nodiscard]] const std::u16string& patchPath() const { return m_patchPath; }
    [[nodiscard]] const std::u16string& registeredPatcherCommand() const
    {
        return m_registeredPatcherCommand;
    }
    // The addresses of the home page, forum and mail commands as this build has them; empty: the command
    // is disabled. Set before start.
    void setAddresses(std::u16string homePage, std::u16string forumPage, std::u16string mailAddress);

  public: // start-up, shut-down, change guard
    void start();
    [[nodiscard]] bool userKeepsChanges();
    // Whether the window may close: no unsaved changes, or the user says to go on without them.
    [[nodiscard]] bool mayClose();
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
    // The file the start-up opens for the program's command line: the line itself, or what stands
    // between its surrounding double quotes.
    [[nodiscard]] static std::u16string commandLineFile(const std::u16string& line);

  private: // status bar and budget
    void keyChanged();
    void updateStatusBar(const std::u16string& status, const std::u16string& path, bool modified);
    [[nodiscard]] bool refuseOverflow();
    [[nodiscard]] bool hasImage() const { return !m_image.empty(); }
    // The shared keys' capacity: the loaded firmware's, or the larger one while no fullflash is loaded,
    // so that a layout file can be edited and saved on its own.
    [[nodiscard]] int sharedCapacity() const
    {
        return hasImage() ? m_firmware.sharedCapacity : kLargeSharedCapacity;
    }
    void showRussianLayouts(bool shown);
    void clearFields();

  private: // file dialog and file access
    // Runs the file dialog titled as the menu item `item` for a file of `kind`, proposing the file of that
    // kind the editor has; the chosen path, empty when nothing was chosen.
    [[nodiscard]] std::u16string chooseFile(std::string_view item, FileKind kind, bool forOpening);
    // Reports a file that cannot be opened in the status bar; the command's message adds the system's
    // reason when there is one.
    void reportUnopenableFile(const std::u16string& path, const std::string& reason = {});
    // Reads a whole file for an open command; reports a failure and returns true.
    [[nodiscard]] bool readFileFailed(const std::u16string& path, FileBytes& bytes);
    // Replaces a file safely; reports a failure and returns true. The old file survives any failure.
    [[nodiscard]] bool writeFileFailed(const std::u16string& path, std::span<const std::uint8_t> bytes);
    [[nodiscard]] bool fileExists(const std::u16string& path);
    // Whether a path names a layout file (*.lay, in any case of letters).
    [[nodiscard]] static bool namesLayoutFile(const std::u16string& path);

  private:
    // A command is enabled or disabled in the menu and on the toolbar together.
    void enableCommand(std::string_view item, bool enabled);
    // The dialog of `item`, then the command's half on the chosen path; Declined when none is chosen.
    using PathHalf = CommandResult (Editor::*)(const std::u16string&);
    [[nodiscard]] Outcome runOnChosenFile(std::string_view item, FileKind kind, bool forOpening,
                                          PathHalf half);
    // What a save into the image and a patch check before they take a name: Declined without an image;
    // DoesNotFit, with its message, for layouts that overflow their storage or cannot go into the image;
    // else Done.
    [[nodiscard]] Outcome checkImageSave();
    // Enables a key field with the editable colour, or disables it with the greyed one.
    void setFieldEditable(Layout a, int key, bool editable);
    // Opens the fields a load fills: every englishUpper key the firmware has, the letter keys of the other
    // layouts.
    void enableLoadedFields(int keys);
    void enableLoadedImageCommands(const std::u16string& path);
    void followWapAvailability();
    [[nodiscard]] bool refuseUnstorable(const LayoutTexts& texts);
    // Asks, once per loaded image, before a save writes over another layout of the phone; true when the
    // user says no.
    [[nodiscard]] bool userKeepsOtherLayouts(const LayoutTexts& texts);
    [[nodiscard]] Outcome encodeIntoImage();
    [[nodiscard]] CommandResult writeFullflash();
    [[nodiscard]] CommandResult writeLayoutFile();

    // Shows a box; a refusal's text becomes the message of the file command that runs.
    MsgAnswer tell(const std::u16string& text, MsgStyle style);
    // The result of a file command, with the message it left.
    [[nodiscard]] CommandResult finish(Outcome outcome);
    // Reports a finished command in the status bar and as its message.
    [[nodiscard]] CommandResult done(const std::u16string& status, const std::u16string& path, bool modified);
    // Sets an option and brings its group's check marks and toolbar buttons along.
    void chooseKoi8(bool koi8);
    void chooseWapSource(WapSource source);

    // An image of a firmware neither in the table nor described: when its key tables are found and the user
    // agrees, the image staged as for a table row, its firmware remembered; else the refusal, unchanged.
    [[nodiscard]] Result<StagedImage, StageRefusal> loadFoundFirmware(const std::u16string& path,
                                                                      StageRefusal refusal);
    // Checks and encodes the fields into the image: what a save into the fullflash and a patch share.
    [[nodiscard]] Outcome encodeForSaving();

    FileBytes m_image;
    BlockCopy m_patchBase;
    FirmwareDescriptor m_firmware;
    bool m_hasRussian = true;
    std::int32_t m_addressCorrection = 0;
    Budget m_budget;
    bool m_modified = false;
    WriteOptions m_options; // as the window's design checks them: Unicode, WAP untouched
    std::vector<OtherTable> m_otherTables;
    bool m_otherLayoutsGivenUp = false; // the user agreed to write over them

    std::u16string m_fullflashPath;
    std::u16string m_layoutFilePath;
    std::u16string m_patchPath;
    std::u16string m_registeredPatcherCommand;
    std::u16string m_homePage{kHomePage};
    std::u16string m_forumPage{kForumPage};
    std::u16string m_mailAddress{kMailAddress};

    std::u16string m_told; // what the running file command told the user last
    // A command is filling the fields: the status bar is brought up to date once, when it ends, rather
    // than recounted after every field.
    bool m_filling = false;

    EditorView& m_view;
    FileSystem& m_files;
    SystemServices& m_system;
};

} // namespace klavoset
