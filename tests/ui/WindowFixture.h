// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "support/FakeSystem.h"
#include "support/ImageBuilder.h"
#include "support/MemoryFileSystem.h"
#include "ui/Dialogs.h"
#include "ui/KeyField.h"
#include "ui/MainMenu.h"
#include "ui/MainToolBar.h"
#include "ui/MainWindow.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <functional>
#include <memory>

namespace klavoset::test {

// Every address set, as a build may have them.
inline void setAddresses(Editor& editor)
{
    editor.setAddresses(u"https://k.example.net/", u"https://f.example.net/t=1", u"k@example.net");
}

// The real window over in-memory files and recorded tools; every box and dialog answered by the script.
struct WindowFixture
{
    MemoryFileSystem files;
    FakeSystem system;
    DialogScript script;
    std::unique_ptr<MainWindow> window;
    std::function<void(Editor&)> beforeStart; // e.g. the addresses a build may set

    WindowFixture() { Dialogs::setScript(&script); }
    ~WindowFixture()
    {
        window.reset();
        Dialogs::setScript(nullptr);
    }

    // Shows the window and waits for its start-up, as the desktop would run it.
    [[nodiscard]] bool start()
    {
        window = std::make_unique<MainWindow>(files, system);
        if (beforeStart)
            beforeStart(window->editor());
        window->show();
        return QTest::qWaitFor([this] { return window->activated(); }, 5000);
    }

    [[nodiscard]] QAction* item(const char* name) const { return window->mainMenu()->action(name); }
    [[nodiscard]] QAction* button(const char* key) const { return window->toolBar()->button(key); }
    [[nodiscard]] KeyField* field(Layout a, int key) const { return window->field(a, key); }
    [[nodiscard]] QString panel(int n) const { return window->panels()->text(n); }

    // Types into a field as the user does: focus, then keys; at the end of its text unless `at` is given.
    void type(Layout a, int key, const QString& text, int at = -1) const
    {
        KeyField* f = field(a, key);
        f->setFocus();
        if (at < 0)
            f->end(false);
        else
            f->setCursorPosition(at);
        for (const QChar c : text) // as key events with their text: Cyrillic has no key code of its own
            QTest::sendKeyEvent(QTest::Click, f, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // A supported image with the sample layouts under `path`, opened through the menu.
    void open(const QString& path, std::string_view fwId = "C55 v24 lg91")
    {
        const FirmwareDescriptor d = descriptorOf(fwId);
        files.files[path.toStdU16String()] = imageOf(fwId, sampleLayouts(d.newGeneration, d.hasRussian));
        script.fileAnswers.push_back(path);
        item("Open1")->trigger();
    }
};

} // namespace klavoset::test
