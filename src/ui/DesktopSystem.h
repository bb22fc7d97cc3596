// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SystemServices.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace klavoset {

// The outside programs and documents of this computer. On Windows: the patcher from the registry, the
// calculator and character map from the Windows folder. Elsewhere: the patcher from the Wine registry,
// started through wine, and the desktop's own calculator and character map from PATH.
class DesktopSystem : public SystemServices
{
  public:
    explicit DesktopSystem(QString commandLine) : m_commandLine(std::move(commandLine)) {}

    std::u16string patcherOpenCommand() override;
    std::u16string calculatorPath() override;
    std::u16string charMapPath() override;
    std::u16string helpPagePath() override;
    std::u16string commandLine() override { return m_commandLine.toStdU16String(); }
    std::vector<std::u16string> splitCommandLine(const std::u16string& commandLine) override;
    void startProgram(const std::vector<std::u16string>& arguments) override;
    void openDocument(const std::u16string& target) override;
    bool viewImage(const std::u16string& path) override;
    // The descriptions of the user's data folder, read when an image of a firmware the table lacks first
    // needs them (deferDescriptions), so that thousands cost the start nothing; a bad file is one line on
    // standard error.
    const FirmwareCatalog& firmwareCatalog() override;
    // Kept in the user's data folder.
    std::optional<std::string> rememberFirmware(const std::string& id, const FirmwareRow& row) override;

    // The first of the programs found in the folders of PATH, empty when none is.
    [[nodiscard]] static QString findOnPath(const QStringList& names);
    // A command line as program and arguments; one naming an existing file is that program alone,
    // spaces and all.
    [[nodiscard]] static QStringList programAndArguments(const QString& commandLine);
    // Web and mail addresses as they are, anything else as a local file.
    [[nodiscard]] static QUrl documentUrl(const QString& target);

  private:
    QString m_commandLine;
    FirmwareCatalog m_catalog;
    bool m_catalogRead = false;
};

} // namespace klavoset
