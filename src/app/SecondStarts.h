// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/OpenFileRequests.h"

class TMainWindow;
class TSingleInstanceGuard;

// The running window's answer to later starts of the program: it comes to the front and opens
// the data file a start handed over (offering to save a modified record first).
class TSecondStarts : public QObject {
    Q_OBJECT

public:
    TSecondStarts(TSingleInstanceGuard& guard, TMainWindow& window);

private:
    TOpenFileRequests FOpenRequests;
};
