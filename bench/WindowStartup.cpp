// Start-up of the window to its first frame with a fullflash loaded: `bench_window_startup IMAGE` opens
// the window as the program does (the image named on the command line) and prints the milliseconds from
// the start of main to the end of the first paint after the load. Run it under QT_QPA_PLATFORM=offscreen.
#include "base/FileSystem.h"
#include "ui/DesktopSystem.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <cstdio>

namespace {

// Notes the first paint of any widget of the window once the editor has loaded the image, and ends the
// program as soon as the event loop is back from it.
class FirstFrame : public QObject
{
  public:
    FirstFrame(const klavoset::MainWindow& window, const QElapsedTimer& clock)
        : m_window(window), m_clock(clock)
    {
    }
    qint64 elapsed = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && elapsed < 0 && m_window.activated()) {
            const bool handled = QObject::eventFilter(watched, event);
            QTimer::singleShot(0, [this] {
                elapsed = m_clock.elapsed();
                QApplication::quit();
            });
            return handled;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    const klavoset::MainWindow& m_window;
    const QElapsedTimer& m_clock;
};

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_window_startup IMAGE\n");
        return 1;
    }
    klavoset::DialogScript script; // a box the load might show is answered, not waited for
    klavoset::Dialogs::setScript(&script);
    klavoset::RealFileSystem files;
    klavoset::DesktopSystem system(QString::fromLocal8Bit(argv[1]));
    klavoset::MainWindow window(files, system);
    FirstFrame frame(window, clock);
    app.installEventFilter(&frame);
    window.show();
    QTimer::singleShot(10000, &app, &QApplication::quit);
    QApplication::exec();
    if (frame.elapsed < 0 || window.form().FlashFile.empty()) {
        std::fprintf(stderr, "bench_window_startup: no frame with the image loaded\n");
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(frame.elapsed));
    return 0;
}
