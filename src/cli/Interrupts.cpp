// SPDX-License-Identifier: GPL-3.0-or-later
// Ending an interrupted command line cleanly (see Interrupts.h). The removal cannot run in a
// signal handler: it takes a lock and removes files and folders. So on POSIX systems the watched
// are blocked everywhere and a thread of its own takes them with sigwait(); on Windows the
// console runs the control handler in a thread of its own anyway.
#include "cli/Interrupts.h"

#include "cli/ExitStatus.h"
#include "cli/TerminalProgress.h"
#include "export/PendingOutputs.h"

#include <QByteArray>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <pthread.h>
#include <thread>
#include <unistd.h>
#endif

namespace cli {

namespace {

// What every interrupt comes to, whichever thread it arrives on. Nothing of it may wait for the
// thread it interrupts, except for the write in progress.
void endInterrupted()
{
    exporting::PendingOutputs::removeAllAndHold();
    const QByteArray text = TerminalProgress::stopAndWipe() + "korvanta-tessal: interrupted\n";
#ifdef _WIN32
    _write(2, text.constData(), static_cast<unsigned>(text.size()));
#else
    // Nothing to do if standard error is gone too; the status still tells.
    [[maybe_unused]] const auto written = ::write(2, text.constData(), std::size_t(text.size()));
#endif
}

#ifdef _WIN32
BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        endInterrupted();
        ExitProcess(kExitInterrupted);
    default:
        return FALSE;
    }
}
#endif

} // namespace

void watchInterrupts()
{
#ifdef _WIN32
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    sigset_t watched;
    sigemptyset(&watched);
    bool any = false;
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal the caller ignores stays ignored: nohup, or a background job of a script.
        struct sigaction current = {};
        if (sigaction(number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&watched, number);
            any = true;
        }
    }
    if (!any)
        return;
    pthread_sigmask(SIG_BLOCK, &watched, nullptr);
    std::thread([watched] {
        int caught = 0;
        while (sigwait(&watched, &caught) != 0) {
        }
        endInterrupted();
        _exit(kExitInterrupted);
    }).detach();
#endif
}

} // namespace cli
