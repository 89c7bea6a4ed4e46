// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/timinglog.h"

#include <cstdio>
#include <map>

#include <QElapsedTimer>
#include <QWidget>

namespace
{

std::map<QString, QElapsedTimer>& started()
{
    static std::map<QString, QElapsedTimer> steps;
    return steps;
}

} // namespace

bool TimingLog::Enabled()
{
    static const bool enabled = !qEnvironmentVariableIsEmpty("GV_LUMIVEX_TIMING");
    return enabled;
}

void TimingLog::Start(const QString& step)
{
    if (Enabled())
        started()[step].start();
}

void TimingLog::End(const QString& step, QWidget* shown)
{
    if (!Enabled())
        return;
    const auto found = started().find(step);
    if (found == started().end())
        return;
    if (shown != nullptr)
        shown->repaint();
    const qint64 elapsed = found->second.elapsed();
    started().erase(found);
    std::fprintf(stderr, "lumivex timing: %s %lld ms\n", step.toUtf8().constData(),
                 static_cast<long long>(elapsed));
    std::fflush(stderr);
}
