// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

namespace klavoset {

// The registry of a Wine prefix, read from its text files: where a Windows program such as the patcher
// registers itself when it is installed under Wine.
class WineRegistry
{
  public:
    explicit WineRegistry(QString prefix) : m_prefix(std::move(prefix)) {}

    // $WINEPREFIX, or ~/.wine when it is not set.
    [[nodiscard]] static QString defaultPrefix();

    // The default value of a key of HKEY_CLASSES_ROOT ("V_Klay.bin\\shell\\open\\command"): the user's
    // classes first, then the machine's, as Windows merges them. Empty when neither has it.
    [[nodiscard]] QString classesDefault(const QString& key) const;

    // The default value ("@") of a key in the text of a registry file, the key written as in the file's
    // section headers but with single backslashes. Key names are compared without case.
    [[nodiscard]] static std::optional<QString> defaultValue(const QString& fileText, const QString& key);

    // A quoted string value's text without the quotes, its escapes (\\, \", \n, \t, \xhhhh) resolved.
    [[nodiscard]] static QString unescape(QStringView quoted);

  private:
    [[nodiscard]] std::optional<QString> fromFile(const QString& file, const QString& key) const;

    QString m_prefix;
};

} // namespace klavoset
