// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/WineRegistry.h"

#include <QDir>
#include <QFile>

namespace klavoset {

QString WineRegistry::defaultPrefix()
{
    const QString set = qEnvironmentVariable("WINEPREFIX");
    return set.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : set;
}

QString WineRegistry::classesDefault(const QString& key) const
{
    if (auto user = fromFile(QStringLiteral("user.reg"), key))
        return *user;
    return fromFile(QStringLiteral("system.reg"), key).value_or(QString());
}

std::optional<QString> WineRegistry::fromFile(const QString& file, const QString& key) const
{
    QFile f(m_prefix + QLatin1Char('/') + file);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Both files keep the classes under Software\Classes of their hive.
    return defaultValue(QString::fromUtf8(f.readAll()), QStringLiteral("Software\\Classes\\") + key);
}

std::optional<QString> WineRegistry::defaultValue(const QString& fileText, const QString& key)
{
    QString header = key;
    header.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    header = QLatin1Char('[') + header + QLatin1Char(']');
    bool inKey = false;
    for (QStringView line : QStringView(fileText).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            // A header may carry a time stamp after the bracket.
            inKey = line.startsWith(header, Qt::CaseInsensitive);
            continue;
        }
        if (!inKey || !line.startsWith(QLatin1String("@=")))
            continue;
        QStringView value = line.mid(2);
        if (value.startsWith(QLatin1String("str(2):"))) // an expandable string, taken as it is
            value = value.mid(7);
        if (value.startsWith(QLatin1Char('"')))
            return unescape(value);
        return std::nullopt; // not a string value
    }
    return std::nullopt;
}

QString WineRegistry::unescape(QStringView quoted)
{
    QString out;
    qsizetype i = quoted.startsWith(QLatin1Char('"')) ? 1 : 0;
    for (; i < quoted.size(); ++i) {
        const QChar c = quoted[i];
        if (c == QLatin1Char('"'))
            break;
        if (c != QLatin1Char('\\') || i + 1 == quoted.size()) {
            out += c;
            continue;
        }
        const QChar e = quoted[++i];
        if (e == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (e == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (e == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (e == QLatin1Char('x')) {
            qsizetype end = i + 1;
            while (end < quoted.size() && end - i <= 4 &&
                   QStringLiteral("0123456789abcdefABCDEF").contains(quoted[end]))
                ++end;
            bool ok = false;
            const uint code = quoted.mid(i + 1, end - i - 1).toUInt(&ok, 16);
            if (ok)
                out += QChar(static_cast<char16_t>(code));
            i = end - 1;
        } else {
            out += e; // \\ and \" and anything else stand for the character itself
        }
    }
    return out;
}

} // namespace klavoset
