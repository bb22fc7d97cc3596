// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up of the window to its first frame with a fullflash loaded: `bench_window_startup IMAGE` starts
// the window as the program's main does (the image named on the command line), prints when the first
// paint after the load ended (FirstFrame::print), and ends. Run it under QT_QPA_PLATFORM=offscreen.
#include "FirstFrame.h"
#include "ui/DesktopSystem.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/Pictures.h"
#include "ui/ReadAhead.h"
#include "ui/StartupHeap.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    klavoset::prepareStartupHeap();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Klavoset"));
    QApplication::setWindowIcon(klavoset::programIcon());
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_window_startup IMAGE\n");
        return 1;
    }
    klavoset::DialogScript script; // a box the load might show is answered, not waited for
    klavoset::Dialogs::setScript(&script);
    const QString line = QString::fromLocal8Bit(argv[1]);
    klavoset::ReadAheadFileSystem files(klavoset::Editor::commandLineFile(line.toStdU16String()));
    klavoset::DesktopSystem system(line);
    klavoset::MainWindow window(files, system);
    klavoset::bench::FirstFrame frame([&window] { return window.activated(); }, clock);
    app.installEventFilter(&frame);
    window.show();
    QTimer::singleShot(10000, &app, &QApplication::quit);
    QApplication::exec();
    if (frame.elapsed < 0 || window.editor().fullflashPath().empty()) {
        std::fprintf(stderr, "bench_window_startup: no frame with the image loaded\n");
        return 1;
    }
    frame.print();
    return 0;
}
