// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/WindowPlacement.h"

#include "settings/Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// How much of a window must show on a screen, across and down, for it to count as on it: enough
// to grab it by its title bar.
constexpr int kMinimumOnScreen = 48;

// rect moved and shrunk to lie within area.
QRect FittedInto(const QRect& rect, const QRect& area) {
    const QSize size = rect.size().boundedTo(area.size());
    const int left = std::clamp(rect.left(), area.left(), area.right() + 1 - size.width());
    const int top = std::clamp(rect.top(), area.top(), area.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}

} // namespace

QRect PlacedGeometry(const QRect& saved, const QList<QRect>& screens, const QRect& primary) {
    if (saved.isEmpty())
        return primary;
    const QRect* best = nullptr;
    qint64 bestArea = 0;
    for (const QRect& screen : screens) {
        const QRect shown = saved.intersected(screen);
        const qint64 area = qint64(shown.width()) * shown.height();
        if (shown.width() >= std::min(kMinimumOnScreen, saved.width()) &&
            shown.height() >= std::min(kMinimumOnScreen, saved.height()) && area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    if (best != nullptr)
        return FittedInto(saved, *best);
    QRect centred(QPoint(), saved.size().boundedTo(primary.size()));
    centred.moveCenter(primary.center());
    return centred;
}

void ShowAtRememberedPlace(QWidget& window) {
    QRect saved;
    bool maximized = true;
    {
        const TSettingsFile settings;
        const int width = settings.ReadInteger(QStringLiteral("WindowWidth"), 0);
        const int height = settings.ReadInteger(QStringLiteral("WindowHeight"), 0);
        if (width > 0 && height > 0) {
            saved = QRect(settings.ReadInteger(QStringLiteral("WindowLeft"), 0),
                          settings.ReadInteger(QStringLiteral("WindowTop"), 0), width, height);
            maximized = settings.ReadInteger(QStringLiteral("WindowMaximized"), 0) != 0;
        }
    }
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    // The first time the window fills the primary screen even where no window manager maximises
    // it; maximising keeps the geometry set here as the normal one to go back to.
    window.setGeometry(PlacedGeometry(saved, screens, primary ? primary->availableGeometry() : saved));
    if (maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.show();
}

void RememberPlace(const QWidget& window, TSettingsFile& settings) {
    const QRect normal = window.normalGeometry();
    settings.WriteInteger(QStringLiteral("WindowLeft"), normal.left());
    settings.WriteInteger(QStringLiteral("WindowTop"), normal.top());
    settings.WriteInteger(QStringLiteral("WindowWidth"), normal.width());
    settings.WriteInteger(QStringLiteral("WindowHeight"), normal.height());
    settings.WriteInteger(QStringLiteral("WindowMaximized"), window.isMaximized() ? 1 : 0);
}
