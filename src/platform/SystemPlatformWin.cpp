// The help viewer on Windows: the compiled help file in HTML Help. HtmlHelpA comes from
// "HHCtrl.ocx", loaded when help is first asked for, so a system without the HTML Help component
// simply shows no help and the program starts all the same.
#include "SystemPlatform.h"

#include <QByteArray>
#include <QDir>
#include <QWidget>

#include <windows.h>

#include <cstdint>

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
    if (!htmlHelp)
        return;
    // The viewer is owned by the caller's top-level window.
    const HWND caller = parent ? reinterpret_cast<HWND>(parent->window()->winId()) : nullptr;
    // HtmlHelpA takes the path in the ANSI code page, which toLocal8Bit gives on Windows.
    const QByteArray file = QDir::toNativeSeparators(helpFile).toLocal8Bit();
    // The display-topic command names no topic here; its data is the address of a 32-bit 1.
    std::int32_t one = 1;
    htmlHelp(caller, file.constData(), kDisplayTopic, reinterpret_cast<DWORD_PTR>(&one));
}
