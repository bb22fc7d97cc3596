// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/DesktopSystem.h"

#include "base/Printable.h"
#include "base/Utf.h"
#include "descriptions/DescriptionFolder.h"
#include "ui/WineRegistry.h"
#ifndef Q_OS_WIN
#include "ui/BinaryViewer.h"
#endif

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#include <cstdio>
#include <utility>

namespace klavoset {

namespace {

const QString kPatcherKey = QStringLiteral("V_Klay.bin\\shell\\open\\command");

#ifdef Q_OS_WIN
QString windowsProgram(const QString& name)
{
    const QString windir = qEnvironmentVariable("windir");
    return windir.isEmpty() ? QString() : windir + QStringLiteral("\\System32\\") + name;
}
#endif

} // namespace

std::u16string DesktopSystem::patcherOpenCommand()
{
#ifdef Q_OS_WIN
    const QSettings key(QStringLiteral("HKEY_CLASSES_ROOT\\") + kPatcherKey, QSettings::NativeFormat);
    return key.value(QStringLiteral("Default")).toString().toStdU16String();
#else
    const QString command = WineRegistry(WineRegistry::defaultPrefix()).classesDefault(kPatcherKey);
    const QString wine = findOnPath({QStringLiteral("wine")});
    if (command.isEmpty() || wine.isEmpty())
        return {};
    return (QLatin1Char('"') + wine + QStringLiteral("\" ") + command).toStdU16String();
#endif
}

std::u16string DesktopSystem::calculatorPath()
{
#ifdef Q_OS_WIN
    return windowsProgram(QStringLiteral("calc.exe")).toStdU16String();
#else
    return findOnPath({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                       QStringLiteral("galculator"), QStringLiteral("mate-calc"), QStringLiteral("xcalc")})
        .toStdU16String();
#endif
}

std::u16string DesktopSystem::charMapPath()
{
#ifdef Q_OS_WIN
    return windowsProgram(QStringLiteral("charmap.exe")).toStdU16String();
#else
    return findOnPath({QStringLiteral("gucharmap"), QStringLiteral("kcharselect"),
                       QStringLiteral("gnome-characters")})
        .toStdU16String();
#endif
}

std::u16string DesktopSystem::helpPagePath()
{
    const QString dir = QCoreApplication::applicationDirPath();
    QString page = dir + QStringLiteral("/Klavoset.htm");
    // An installed program keeps its page with its other data.
    const QString installed = dir + QStringLiteral("/../share/klavoset/Klavoset.htm");
    if (!QFileInfo::exists(page) && QFileInfo::exists(installed))
        page = QDir::cleanPath(installed);
    return QDir::toNativeSeparators(page).toStdU16String();
}

std::vector<std::u16string> DesktopSystem::splitCommandLine(const std::u16string& commandLine)
{
    std::vector<std::u16string> arguments;
    for (const QString& part : programAndArguments(QString::fromStdU16String(commandLine)))
        arguments.push_back(part.toStdU16String());
    return arguments;
}

void DesktopSystem::startProgram(const std::vector<std::u16string>& arguments)
{
    if (arguments.empty() || arguments.front().empty())
        return;
    QStringList rest;
    for (auto it = arguments.begin() + 1; it != arguments.end(); ++it)
        rest.append(QString::fromStdU16String(*it));
    QProcess::startDetached(QString::fromStdU16String(arguments.front()), rest);
}

void DesktopSystem::openDocument(const std::u16string& target)
{
    const QString t = QString::fromStdU16String(target);
    if (!t.isEmpty())
        QDesktopServices::openUrl(documentUrl(t));
}

bool DesktopSystem::viewImage(const std::u16string& path)
{
#ifdef Q_OS_WIN
    openDocument(path); // the program Windows associates with the file, as always
    return true;
#else
    // Not by the file's type: where this editor is installed, a fullflash's program is the editor.
    return openWithBinaryViewer(QFile::encodeName(QString::fromStdU16String(path)).toStdString(),
                                QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
#endif
}

const FirmwareCatalog& DesktopSystem::firmwareCatalog()
{
    if (!std::exchange(m_catalogRead, true))
        m_catalog.deferDescriptions([](FirmwareCatalog& catalog) {
            RealFileSystem files;
            for (const auto& skipped : loadDescriptions(files, descriptionFolder(), catalog))
                std::fprintf(stderr, "%s\n",
                             printable("klavoset: " + toUtf8(skipped.path) + ": " + skipped.reason).c_str());
        });
    return m_catalog;
}

std::optional<std::string> DesktopSystem::rememberFirmware(const std::string& id, const FirmwareRow& row)
{
    (void)firmwareCatalog();
    if (auto refused = m_catalog.add(id, row))
        return refused;
    const std::u16string folder = descriptionFolder();
    if (folder.empty())
        return "no data folder: neither XDG_DATA_HOME nor HOME is set";
    RealFileSystem files;
    const auto saved = saveDescription(files, folder, id, row);
    if (!saved.isOk())
        return saved.error().reason;
    return std::nullopt;
}

QString DesktopSystem::findOnPath(const QStringList& names)
{
    const QStringList dirs = qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString& name : names)
        for (const QString& dir : dirs) {
            const QFileInfo candidate(QDir(dir).filePath(name));
            if (candidate.isFile() && candidate.isExecutable())
                return candidate.absoluteFilePath();
        }
    return {};
}

QStringList DesktopSystem::programAndArguments(const QString& commandLine)
{
    if (commandLine.trimmed().isEmpty())
        return {};
    if (QFileInfo(commandLine).isFile())
        return {commandLine};
    return QProcess::splitCommand(commandLine);
}

QUrl DesktopSystem::documentUrl(const QString& target)
{
    for (const char* scheme : {"http://", "https://", "mailto:"})
        if (target.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return QUrl(target);
    return QUrl::fromLocalFile(target);
}

} // namespace klavoset
