// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <functional>

namespace klavoset::bench {

// Ends the program as soon as the event loop is back from the first paint of any widget once `ready`
// says so, and keeps the milliseconds from the start of main to then.
class FirstFrame : public QObject
{
  public:
    FirstFrame(std::function<bool()> ready, const QElapsedTimer& clock)
        : m_ready(std::move(ready)), m_clock(clock)
    {
    }
    qint64 elapsed = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen && m_ready()) {
            m_seen = true;
            QTimer::singleShot(0, [this] {
                elapsed = m_clock.elapsed();
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<bool()> m_ready;
    const QElapsedTimer& m_clock;
    bool m_seen = false;
};

} // namespace klavoset::bench
