// SPDX-License-Identifier: GPL-3.0-or-later
// The help viewer on Windows: the compiled help file in HTML Help. HtmlHelpA comes from
// "HHCtrl.ocx", loaded when help is first asked for, so the program starts all the same on a
// system without the HTML Help component; asking for help there says why none is shown.
#include "platform/SystemPlatform.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include <windows.h>

#include <cstdint>

namespace platform {

namespace {

using HtmlHelpAFunction = HWND(WINAPI *)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
constexpr UINT kDisplayTopic = 0; // HH_DISPLAY_TOPIC

HtmlHelpAFunction htmlHelpA()
{
    // Kept loaded: the viewer's window runs in this module after the call has returned.
    static const HMODULE module = LoadLibraryA("HHCtrl.ocx");
    if (!module)
        return nullptr;
    // Through void (*)() so the compiler accepts the cast from GetProcAddress's generic type.
    return reinterpret_cast<HtmlHelpAFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "HtmlHelpA")));
}

} // namespace

void SystemPlatform::showHelp(QWidget *parent, const QString &helpFile)
{
    const HtmlHelpAFunction htmlHelp = htmlHelpA();
    QString problem;
    if (!htmlHelp) {
        problem = QObject::tr("This system has no HTML Help viewer (HHCtrl.ocx).");
    } else {
        // The viewer is owned by the caller's top-level window.
        const HWND caller = parent ? reinterpret_cast<HWND>(parent->window()->winId()) : nullptr;
        // HtmlHelpA takes the path in the ANSI code page, which toLocal8Bit gives on Windows.
        const QByteArray file = QDir::toNativeSeparators(helpFile).toLocal8Bit();
        // The display-topic command names no topic here; its data is the address of a 32-bit 1.
        std::int32_t one = 1;
        // No window back: the file is missing, damaged, or its path is not in the code page.
        if (!htmlHelp(caller, file.constData(), kDisplayTopic, reinterpret_cast<DWORD_PTR>(&one)))
            problem = QObject::tr("The HTML Help viewer could not open it.");
    }
    if (!problem.isEmpty())
        information(parent, QCoreApplication::applicationName(),
                    QObject::tr("The help %1 cannot be shown.\n%2")
                        .arg(QDir::toNativeSeparators(helpFile), problem));
}

} // namespace platform
