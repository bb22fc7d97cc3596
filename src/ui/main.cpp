// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/DesktopSystem.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/Pictures.h"
#include "ui/QtTranslation.h"
#include "ui/ReadAhead.h"
#include "ui/StartupHeap.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>

#include <cstdio>
#include <cstring>

namespace {

// Renders the started window into a PNG, for the documentation; no box or dialog waits for an answer.
int screenshot(klavoset::MainWindow& window, const QString& file)
{
    klavoset::DialogScript script;
    klavoset::Dialogs::setScript(&script);
    window.show();
    QElapsedTimer timer;
    timer.start();
    while (!window.activated() && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
    if (!window.grab().save(file, "PNG")) {
        std::fprintf(stderr, "klavoset: cannot write %s\n", file.toLocal8Bit().constData());
        return 2;
    }
    return 0;
}

// Laid out so that help2man turns it into the manual page.
constexpr const char* kHelp =
    "Usage: klavoset [FULLFLASH]\n"
    "  or:  klavoset --screenshot FILE.png [FULLFLASH]\n"
    "  or:  klavoset --help | --version\n"
    "Opens the window of the keypad layout editor for Siemens phones, loading the\n"
    "fullflash FULLFLASH (*.bin, *.fls) when given. The whole text after the program\n"
    "name is taken as one path, spaces included; surrounding double quotes are removed.\n"
    "A fullflash or a layout file (*.lay) can also be dropped on the window.\n"
    "\n"
    "Options:\n"
    "  --screenshot FILE.png  render the started window into FILE.png and quit; no\n"
    "                         message box waits for an answer\n"
    "  --help                 print this help and exit\n"
    "  --version              print the version and exit\n"
    "\n"
    "Exit codes:\n"
    "  0  the window was closed, or the help, the version or the screenshot was written\n"
    "  2  the screenshot could not be written\n"
    "\n"
    "Environment:\n"
    "  WINEPREFIX  the Wine prefix whose registry names the patcher V_Klay (default\n"
    "              ~/.wine)\n"
    "  QT_QPA_PLATFORM  offscreen renders the window without a display (for\n"
    "              --screenshot)\n"
    "\n"
    "Files:\n"
    "  /usr/share/klavoset/Klavoset.htm  the help page of the Help command\n";

} // namespace

int main(int argc, char* argv[])
{
    // Answered before Qt starts, so that they work without a display.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("klavoset " KLAVOSET_VERSION);
        return 0;
    }

    klavoset::prepareStartupHeap();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Klavoset"));
    QApplication::setApplicationVersion(QStringLiteral(KLAVOSET_VERSION));
    QApplication::setWindowIcon(klavoset::programIcon());
    klavoset::installRussianQtTexts(app);

    QStringList args = QApplication::arguments().mid(1);
    QString shot;
    if (args.size() >= 2 && args.front() == QLatin1String("--screenshot")) {
        shot = args.at(1);
        args.remove(0, 2);
    }

    // The whole text after the program name is one path, spaces included. The file is read while the
    // window is built.
    const QString line = args.join(QLatin1Char(' '));
    klavoset::ReadAheadFileSystem files(klavoset::Editor::commandLineFile(line.toStdU16String()));
    klavoset::DesktopSystem system(line);
    klavoset::MainWindow window(files, system);
    if (!shot.isEmpty())
        return screenshot(window, shot);
    window.show();
    return QApplication::exec();
}
