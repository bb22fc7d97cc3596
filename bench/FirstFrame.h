// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace klavoset::bench {

// Ends the program as soon as the event loop is back from the first paint of any widget once `ready`
// says so, and keeps the milliseconds from the start of main to then, and the instant itself on the
// system's steady clock, which bench_race compares with the instant it started the process.
class FirstFrame : public QObject
{
  public:
    FirstFrame(std::function<bool()> ready, const QElapsedTimer& clock)
        : m_ready(std::move(ready)), m_clock(clock)
    {
    }
    qint64 elapsed = -1;
    std::int64_t shownAtNs = 0;

    // The line bench_race reads from a frame case's output.
    void print() const { std::printf("first frame at %lld ns\n", static_cast<long long>(shownAtNs)); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen && m_ready()) {
            m_seen = true;
            QTimer::singleShot(0, [this] {
                elapsed = m_clock.elapsed();
                shownAtNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                .count();
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
