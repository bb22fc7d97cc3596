// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/FileSystem.h"
#include "core/Editor.h"
#include "core/EditorView.h"
#include "core/SystemServices.h"

#include <QMainWindow>

#include <functional>
#include <memory>

namespace klavoset {

class KeyField;
class KeyGrid;
class MainMenu;
class MainToolBar;
class StatusPanels;

// The editor's window. It shows what the editor sets, reports every field change, and routes each menu
// item and toolbar button to the editor's command of the same name; it decides nothing itself.
class MainWindow : public QMainWindow, public EditorView
{
    Q_OBJECT
  public:
    MainWindow(FileSystem& files, SystemServices& system);
    ~MainWindow() override;

  public: // EditorView
    void setFieldChangeHandler(std::function<void(Layout, int)> handler) override;
    std::u16string fieldText(Layout a, int key) const override;
    int fieldLength(Layout a, int key) const override;
    void setFieldText(Layout a, int key, const std::u16string& text) override;
    void setFieldEnabled(Layout a, int key, bool enabled) override;
    void setFieldColor(Layout a, int key, SysColor color) override;
    void setFieldVisible(Layout a, int key, bool visible) override;
    void setWindowColor(SysColor color) override;
    void beep() override;
    void setMenuEnabled(std::string_view item, bool enabled) override;
    std::u16string menuCaption(std::string_view item) const override;
    void setMenuChecked(std::string_view item, bool checked) override;
    bool menuChecked(std::string_view item) const override;
    void setButtonEnabled(std::string_view key, bool enabled) override;
    void setButtonPressed(std::string_view key) override;
    void setButtonTooltip(std::string_view key, const std::u16string& tip) override;
    std::u16string panelText(int panel) const override;
    void setPanelText(int panel, const std::u16string& text) override;
    std::u16string runFileDialog(const FileDialogRequest& request) override;
    MsgAnswer msgBox(const std::u16string& text, MsgStyle style) override;
    void endProgram() override;

  public: // for the program and its tests
    [[nodiscard]] Editor& editor() { return *m_editor; }
    [[nodiscard]] KeyField* field(Layout a, int key) const;
    [[nodiscard]] KeyGrid* grid() const { return m_grid; }
    [[nodiscard]] MainMenu* mainMenu() const { return m_menu; }
    [[nodiscard]] MainToolBar* toolBar() const { return m_toolbar; }
    [[nodiscard]] StatusPanels* panels() const { return m_panels; }
    [[nodiscard]] bool activated() const { return m_activated; } // start has run
    [[nodiscard]] int beeps() const { return m_beeps; }

  signals:
    void activatedOnce();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void activate();

    KeyGrid* m_grid = nullptr;
    MainMenu* m_menu = nullptr;
    MainToolBar* m_toolbar = nullptr;
    StatusPanels* m_panels = nullptr;
    std::function<void(Layout, int)> m_changed;
    std::unique_ptr<Editor> m_editor;
    bool m_activationQueued = false;
    bool m_activated = false;
    bool m_ending = false;
    int m_beeps = 0;
};

} // namespace klavoset
