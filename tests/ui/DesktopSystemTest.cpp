// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/DesktopSystem.h"

#include "ui/ReadAhead.h"
#include "ui/WineRegistry.h"
#ifndef Q_OS_WIN
#include "ui/BinaryViewer.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace klavoset;

namespace {

void write(const QString& path, const QByteArray& text, bool executable = false)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// A registry file as Wine writes it.
const QByteArray kSystemReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Classes\\\\V_Klay.bin] 1700000000\n"
    "#time=1d9a1b2c3d4e5f6\n"
    "@=\"V_Klay patch\"\n"
    "\n"
    "[Software\\\\Classes\\\\V_Klay.bin\\\\shell\\\\open\\\\command] 1700000000\n"
    "#time=1d9a1b2c3d4e5f6\n"
    "\"Other\"=\"no\"\n"
    "@=\"\\\"C:\\\\Program Files\\\\V_Klay\\\\V_Klay.exe\\\" \\\"%1\\\"\"\n"
    "\n"
    "[Software\\\\Classes\\\\V_Klay.bin\\\\shell\\\\open\\\\command\\\\more] 1700000000\n"
    "@=\"wrong\"\n";

// Puts a variable for one test and restores it after.
struct EnvGuard
{
    QByteArray name, old;
    bool had;
    EnvGuard(const char* n, const QByteArray& value)
        : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n))
    {
        qputenv(n, value);
    }
    ~EnvGuard()
    {
        if (had)
            qputenv(name.constData(), old);
        else
            qunsetenv(name.constData());
    }
};

} // namespace

class DesktopSystemTest : public QObject
{
    Q_OBJECT
  private slots:
    void registryValueOfTheKeyOnly()
    {
        const QString text = QString::fromUtf8(kSystemReg);
        QCOMPARE(WineRegistry::defaultValue(
                     text, QStringLiteral("Software\\Classes\\V_Klay.bin\\shell\\open\\command")),
                 std::optional<QString>(QStringLiteral("\"C:\\Program Files\\V_Klay\\V_Klay.exe\" \"%1\"")));
        QCOMPARE(WineRegistry::defaultValue(text, QStringLiteral("software\\classes\\v_klay.BIN")),
                 std::optional<QString>(QStringLiteral("V_Klay patch")));
        QVERIFY(!WineRegistry::defaultValue(text, QStringLiteral("Software\\Classes\\V_Klay.bin\\shell")));
        QVERIFY(!WineRegistry::defaultValue(QString(), QStringLiteral("Software")));
    }

    void unescapesWineStrings()
    {
        QCOMPARE(WineRegistry::unescape(u"\"a\\\\b\\\"c\\\"\""), QStringLiteral("a\\b\"c\""));
        // up to four hex digits: "\x41e" would be one character
        QCOMPARE(WineRegistry::unescape(u"\"\\x0041e\\x440\""), QStringLiteral("Ae\u0440"));
        QCOMPARE(WineRegistry::unescape(u"\"\\x41e\""), QStringLiteral("\u041e"));
        QCOMPARE(WineRegistry::unescape(u"\"tab\\there\""), QStringLiteral("tab\there"));
        QCOMPARE(WineRegistry::unescape(u"\"cut\" after"), QStringLiteral("cut"));
    }

    void patcherFromTheWinePrefixThroughWine()
    {
#ifdef Q_OS_WIN
        QSKIP("reads the real registry on Windows");
#else
        QTemporaryDir prefix, bin;
        write(prefix.filePath(QStringLiteral("system.reg")), kSystemReg);
        EnvGuard wineprefix("WINEPREFIX", prefix.path().toLocal8Bit());
        EnvGuard path("PATH", bin.path().toLocal8Bit());
        DesktopSystem system{QString()};
        QVERIFY(system.patcherOpenCommand().empty()); // no wine to start it with

        write(bin.filePath(QStringLiteral("wine")), "#!/bin/sh\n", true);
        const QString expected = QLatin1Char('"') + bin.filePath(QStringLiteral("wine")) +
                                 QStringLiteral("\" \"C:\\Program Files\\V_Klay\\V_Klay.exe\" \"%1\"");
        QCOMPARE(QString::fromStdU16String(system.patcherOpenCommand()), expected);
        QCOMPARE(
            DesktopSystem::programAndArguments(expected),
            QStringList({bin.filePath(QStringLiteral("wine")),
                         QStringLiteral("C:\\Program Files\\V_Klay\\V_Klay.exe"), QStringLiteral("%1")}));

        // The user's own classes come first.
        write(prefix.filePath(QStringLiteral("user.reg")),
              "[Software\\\\Classes\\\\V_Klay.bin\\\\shell\\\\open\\\\command]\n@=\"mine.exe %1\"\n");
        QVERIFY(QString::fromStdU16String(system.patcherOpenCommand())
                    .endsWith(QStringLiteral("\" mine.exe %1")));

        EnvGuard none("WINEPREFIX", (prefix.path() + QStringLiteral("/nothing")).toLocal8Bit());
        QVERIFY(system.patcherOpenCommand().empty());
#endif
    }

    // A found firmware is kept in the user's data folder and known to the next run of the window; a bad
    // file there is skipped, the others are read.
    void foundFirmwareIsKeptForTheNextRun()
    {
        QTemporaryDir data;
        EnvGuard dataHome("XDG_DATA_HOME", QFile::encodeName(data.path()));
        const FirmwareRow row = *findFirmware("C55 v24 lg91");
        {
            DesktopSystem system{QString()};
            QVERIFY(!system.rememberFirmware("C55 v25 lg91", row));
            QVERIFY(system.rememberFirmware("C55 v24 lg91", row)); // the table's own firmware
        }
        write(data.filePath(QStringLiteral("klavoset/firmware/bad.json")), "{");
        DesktopSystem next{QString()};
        const FirmwareRow* found = next.firmwareCatalog().find("C55 v25 lg91");
        QVERIFY(found != nullptr);
        QCOMPARE(found->englishTable, 0x473076);
        QCOMPARE(found->key10Entry, 0x473AA4);
        QCOMPARE(next.firmwareCatalog().descriptions().size(), std::size_t{1});
    }

    void defaultPrefixIsHomeWine()
    {
        EnvGuard set("WINEPREFIX", "/some/prefix");
        QCOMPARE(WineRegistry::defaultPrefix(), QStringLiteral("/some/prefix"));
        qunsetenv("WINEPREFIX");
        QCOMPARE(WineRegistry::defaultPrefix(), QDir::homePath() + QStringLiteral("/.wine"));
    }

    void toolsAreTheFirstFoundOnPath()
    {
#ifdef Q_OS_WIN
        QSKIP("the Windows folder's programs on Windows");
#else
        QTemporaryDir a, b;
        write(b.filePath(QStringLiteral("kcalc")), "#!/bin/sh\n", true);
        write(a.filePath(QStringLiteral("xcalc")), "#!/bin/sh\n", true);
        write(a.filePath(QStringLiteral("gucharmap")), "not executable");
        EnvGuard path("PATH", (a.path() + QLatin1Char(':') + b.path()).toLocal8Bit());
        DesktopSystem system{QString()};
        // kcalc comes before xcalc in the preference, whichever folder holds it.
        QCOMPARE(QString::fromStdU16String(system.calculatorPath()), b.filePath(QStringLiteral("kcalc")));
        QVERIFY(system.charMapPath().empty());
        write(b.filePath(QStringLiteral("gnome-characters")), "#!/bin/sh\n", true);
        QCOMPARE(QString::fromStdU16String(system.charMapPath()),
                 b.filePath(QStringLiteral("gnome-characters")));
#endif
    }

    void helpPageLiesBesideTheProgram()
    {
        DesktopSystem system{QString()};
        const QString page = QString::fromStdU16String(system.helpPagePath());
        QCOMPARE(QDir::fromNativeSeparators(page),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/Klavoset.htm"));
        QVERIFY2(QFileInfo::exists(page), "the build copies the help page beside the programs");
        QFile f(page);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        QVERIFY(html.contains(QStringLiteral("Klavoset")));
        QVERIFY(html.contains(QStringLiteral("фуллфлеш"), Qt::CaseInsensitive));
    }

    void commandLineIsKeptWhole()
    {
        DesktopSystem system(QStringLiteral("\"/a b/c.bin\""));
        QVERIFY(system.commandLine() == u"\"/a b/c.bin\"");
    }

    void documentsAndAddresses()
    {
        QCOMPARE(DesktopSystem::documentUrl(QStringLiteral("/a b/ff.bin")),
                 QUrl::fromLocalFile(QStringLiteral("/a b/ff.bin")));
        QCOMPARE(DesktopSystem::documentUrl(QStringLiteral("https://x.example.org/p?t=1")).toString(),
                 QStringLiteral("https://x.example.org/p?t=1"));
        const QUrl mail =
            DesktopSystem::documentUrl(QStringLiteral("mailto:k@example.org?subject=Klavoset_v2.59"));
        QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
        QCOMPARE(mail.path(), QStringLiteral("k@example.org"));
        QCOMPARE(mail.query(), QStringLiteral("subject=Klavoset_v2.59"));
    }

    void commandLinesSplitUnlessTheyNameAProgram()
    {
        QCOMPARE(DesktopSystem::programAndArguments(QStringLiteral("  ")), QStringList());
        QCOMPARE(DesktopSystem::programAndArguments(QStringLiteral("prog \"a b\" c")),
                 QStringList({QStringLiteral("prog"), QStringLiteral("a b"), QStringLiteral("c")}));
        QTemporaryDir dir;
        const QString spaced = dir.filePath(QStringLiteral("my calc"));
        write(spaced, "#!/bin/sh\n", true);
        QCOMPARE(DesktopSystem::programAndArguments(spaced), QStringList({spaced}));
    }

    void startedProgramRunsDetached()
    {
#ifdef Q_OS_WIN
        QSKIP("a shell script is the test program");
#else
        // Each argument arrives as it was given, whatever it holds: a patch's name is one argument.
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("count-them"));
        const QString out = dir.filePath(QStringLiteral("done file"));
        write(script, ("#!/bin/sh\nprintf '%s|' \"$#\" \"$1\" > '" + out.toUtf8() + "'\n").constData(), true);
        const QString name = dir.filePath(QStringLiteral("-p \"a b\" 'c.vkp"));
        DesktopSystem system{QString()};
        const auto arguments =
            system.splitCommandLine((QLatin1Char('"') + script + QStringLiteral("\" x")).toStdU16String());
        QCOMPARE(arguments.size(), std::size_t{2});
        system.startProgram({arguments.front(), name.toStdU16String()});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(out).size() > 0, 5000);
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(written.readAll()), QStringLiteral("1|") + name + QLatin1Char('|'));
        system.startProgram({});
        system.startProgram({u""});
#endif
    }

    void imageViewerIsTheDefaultForBinaryDataNeverThisEditor()
    {
#ifdef Q_OS_WIN
        QSKIP("the program Windows associates with the file opens it");
#else
        const std::string self = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
        QVERIFY(isThisEditor("klavoset.desktop", "/opt/k/run", self));
        QVERIFY(isThisEditor("k.desktop", "/usr/bin/klavoset", self));
        QVERIFY(isThisEditor("k.desktop", self, self));
        QVERIFY(!isThisEditor("hexview.desktop", "/usr/bin/hexview", self));

        // A desktop of our own whose default program for binary data records what it was given.
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString config = dir.filePath(QStringLiteral("config"));
        QVERIFY(QDir().mkpath(data + QStringLiteral("/applications")) && QDir().mkpath(config));
        const EnvGuard env[] = {{"XDG_DATA_HOME", QFile::encodeName(data)},
                                {"XDG_DATA_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("none")))},
                                {"XDG_CONFIG_HOME", QFile::encodeName(config)},
                                {"XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("none")))},
                                {"XDG_CURRENT_DESKTOP", ""}};
        const QString seen = dir.filePath(QStringLiteral("seen"));
        const QString viewer = dir.filePath(QStringLiteral("viewer"));
        write(viewer, "#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(seen) + "'\n", true);
        write(data + QStringLiteral("/applications/viewer.desktop"),
              "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + QFile::encodeName(viewer) +
                  " %f\nMimeType=application/octet-stream;\n");
        write(config + QStringLiteral("/mimeapps.list"),
              "[Default Applications]\napplication/octet-stream=viewer.desktop\n");

        DesktopSystem system{QString()};
        const QString image = dir.filePath(QStringLiteral("ff one.bin"));
        QVERIFY(system.viewImage(image.toStdU16String()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(seen).size() > 0, 5000);
        QFile f(seen);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QFile::decodeName(f.readAll()), image);
#endif
    }

    // The file read ahead is handed over only while it is unchanged; a changed or new file is read anew.
    void readAheadNeverHandsOverAStaleFile()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("ff.bin"));
        const auto bytesOf = [](Result<FileBytes, FileError> r) {
            return r.isOk() ? QByteArray(reinterpret_cast<const char*>(r.value().data()),
                                         static_cast<qsizetype>(r.value().size()))
                            : QByteArray("failed");
        };
        write(image, "first");
        {
            ReadAheadFileSystem files(image.toStdU16String());
            QCOMPARE(bytesOf(files.readAll(image.toStdU16String())), QByteArray("first"));
            QCOMPARE(bytesOf(files.readAll(image.toStdU16String())), QByteArray("first"));
        }
        {
            ReadAheadFileSystem files(image.toStdU16String());
            QTest::qWait(50); // read ahead by now
            write(image, "second, longer");
            QCOMPARE(bytesOf(files.readAll(image.toStdU16String())), QByteArray("second, longer"));
        }
        {
            const QString missing = dir.filePath(QStringLiteral("later.bin"));
            ReadAheadFileSystem files(missing.toStdU16String());
            QTest::qWait(50);
            write(missing, "now here");
            QCOMPARE(bytesOf(files.readAll(missing.toStdU16String())), QByteArray("now here"));
        }
#ifndef Q_OS_WIN
        {
            // A FIFO named at start is refused at once: neither the read ahead nor the window waits for
            // a writer that may never come.
            const QString fifo = dir.filePath(QStringLiteral("fifo"));
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            ReadAheadFileSystem files(fifo.toStdU16String());
            QCOMPARE(bytesOf(files.readAll(fifo.toStdU16String())), QByteArray("failed"));
        }
#endif
    }
};

QTEST_MAIN(DesktopSystemTest)
#include "DesktopSystemTest.moc"
