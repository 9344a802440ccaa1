// SPDX-License-Identifier: GPL-3.0-or-later
// Sets the process's time zone for the tests of dates that turn into local time.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

inline void setZone(const char *zone)
{
    qputenv("TZ", zone);
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
}
