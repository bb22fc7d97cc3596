// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The plainest Qt Widgets program of the window's kind, the baseline of its start-up: a main window with a
// menu bar and 48 line edits, shown, ended after its first frame. Run it under QT_QPA_PLATFORM=offscreen.
#include "FirstFrame.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

#include <cstdio>

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"File", "Options", "Tools", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    auto* central = new QWidget;
    auto* grid = new QGridLayout(central);
    for (int i = 0; i < 48; ++i)
        grid->addWidget(new QLineEdit(QStringLiteral("abc")), i / 6, i % 6);
    window.setCentralWidget(central);
    klavoset::bench::FirstFrame frame([] { return true; }, clock);
    app.installEventFilter(&frame);
    window.show();
    QTimer::singleShot(10000, &app, &QApplication::quit);
    QApplication::exec();
    if (frame.elapsed < 0)
        return 1;
    frame.print();
    return 0;
}
