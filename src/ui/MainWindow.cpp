// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/MainWindow.h"

#include "core/WindowDesign.h"
#include "ui/Dialogs.h"
#include "ui/KeyField.h"
#include "ui/KeyGrid.h"
#include "ui/MainMenu.h"
#include "ui/MainToolBar.h"
#include "ui/Pictures.h"
#include "ui/StatusPanels.h"
#include "ui/SystemColors.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

namespace klavoset {

namespace {

QString qs(const std::u16string& s) { return QString::fromStdU16String(s); }

// The first dropped local file the editor can open, empty when there is none.
QString droppedFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && Editor::canOpenDropped(url.toLocalFile().toStdU16String()))
            return url.toLocalFile();
    return {};
}

} // namespace

MainWindow::MainWindow(FileSystem& files, SystemServices& system)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromStdU16String(std::u16string(design::kTitle)));
    setWindowIcon(programIcon());
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(true);

    m_menu = new MainMenu(menuBar());
    m_toolbar = new MainToolBar(this);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    m_grid = new KeyGrid(this);
    setCentralWidget(m_grid);
    m_panels = new StatusPanels(this);
    setStatusBar(m_panels);
    setWindowColor(SysColor::Face);

    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            connect(m_grid->field(a, key), &QLineEdit::textChanged, this, [this, a, key] {
                if (m_changed)
                    m_changed(a, key);
            });
    m_editor = std::make_unique<Editor>(*this, files, system);
    connect(m_menu, &MainMenu::commandChosen, this,
            [this](const QString& name) { m_editor->runCommand(name.toStdString()); });
    connect(m_toolbar, &MainToolBar::buttonClicked, this,
            [this](const QString& key) { m_editor->runCommand(key.toStdString()); });

    // All controls stand at fixed places: the window keeps its designed size.
    adjustSize();
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow()
{
    m_changed = nullptr; // the fields report no more changes while they are destroyed
}

KeyField* MainWindow::field(Layout a, int key) const { return m_grid->field(a, key); }

void MainWindow::setFieldChangeHandler(std::function<void(Layout, int)> handler)
{
    m_changed = std::move(handler);
}

std::u16string MainWindow::fieldText(Layout a, int key) const
{
    return field(a, key)->text().toStdU16String();
}

int MainWindow::fieldLength(Layout a, int key) const
{
    return static_cast<int>(field(a, key)->text().size()); // UTF-16 units, as fieldText's
}

void MainWindow::setFieldText(Layout a, int key, const std::u16string& text)
{
    KeyField* f = field(a, key);
    const QString t = qs(text);
    if (f->text() != t)
        f->setProgramText(t);
}

void MainWindow::setFieldEnabled(Layout a, int key, bool enabled) { field(a, key)->setEnabled(enabled); }

void MainWindow::setFieldColor(Layout a, int key, SysColor color)
{
    m_grid->setFieldColor(a, key, systemColor(color, QApplication::palette()));
}

void MainWindow::setFieldVisible(Layout a, int key, bool visible) { field(a, key)->setVisible(visible); }

void MainWindow::setWindowColor(SysColor color)
{
    m_grid->setBackground(systemColor(color, QApplication::palette()));
}

void MainWindow::beep()
{
    ++m_beeps;
    QApplication::beep();
}

void MainWindow::setMenuEnabled(std::string_view item, bool enabled)
{
    if (QAction* action = m_menu->action(item))
        action->setEnabled(enabled);
}

std::u16string MainWindow::menuCaption(std::string_view item) const
{
    const QAction* action = m_menu->action(item);
    return action == nullptr ? std::u16string() : action->text().toStdU16String();
}

void MainWindow::setMenuChecked(std::string_view item, bool checked) { m_menu->setChecked(item, checked); }

bool MainWindow::menuChecked(std::string_view item) const { return m_menu->checked(item); }

void MainWindow::setButtonEnabled(std::string_view key, bool enabled)
{
    if (QAction* action = m_toolbar->button(key))
        action->setEnabled(enabled);
}

void MainWindow::setButtonPressed(std::string_view key) { m_toolbar->setPressed(key); }

void MainWindow::setButtonTooltip(std::string_view key, const std::u16string& tip)
{
    if (QAction* action = m_toolbar->button(key)) {
        action->setToolTip(qs(tip));
        m_toolbar->widgetForAction(action)->setAccessibleName(qs(tip));
    }
}

std::u16string MainWindow::panelText(int panel) const { return m_panels->text(panel).toStdU16String(); }

void MainWindow::setPanelText(int panel, const std::u16string& text) { m_panels->setText(panel, qs(text)); }

std::u16string MainWindow::runFileDialog(const FileDialogRequest& request)
{
    return Dialogs::chooseFile(this, request).toStdU16String();
}

MsgAnswer MainWindow::msgBox(const std::u16string& text, MsgStyle style)
{
    return Dialogs::message(this, qs(text), style);
}

void MainWindow::endProgram()
{
    m_ending = true; // the editor has asked already: closing asks nothing more
    close();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_activationQueued)
        return;
    m_activationQueued = true;
    // After the window is on the screen, so that what the start-up shows stands in front of it.
    QTimer::singleShot(0, this, &MainWindow::activate);
}

void MainWindow::activate()
{
    m_editor->start();
    m_activated = true;
    emit activatedOnce();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_ending) {
        if (!m_editor->mayClose()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has finished, so that the question and messages do not hold the other program.
    QTimer::singleShot(
        0, this, [this, path] { m_editor->openDropped(QDir::toNativeSeparators(path).toStdU16String()); });
}

} // namespace klavoset
