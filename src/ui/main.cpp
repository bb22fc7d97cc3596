#include "base/FileSystem.h"
#include "ui/DesktopSystem.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QPixmap>

#include <cstdio>

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

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Klavoset"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/klavoset.svg")));

    QStringList args = QApplication::arguments().mid(1);
    QString shot;
    if (args.size() >= 2 && args.front() == QLatin1String("--screenshot")) {
        shot = args.at(1);
        args.remove(0, 2);
    }

    // The whole text after the program name is one path, spaces included.
    klavoset::RealFileSystem files;
    klavoset::DesktopSystem system(args.join(QLatin1Char(' ')));
    klavoset::MainWindow window(files, system);
    if (!shot.isEmpty())
        return screenshot(window, shot);
    window.show();
    return QApplication::exec();
}
