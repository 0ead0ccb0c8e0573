// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <functional>

// A control that its owner paints in OnPaint, given the part to repaint. Unless it takes the
// pointer, every pointer event goes through to the widget beneath.
class TPaintBox : public QWidget {
public:
    using TPaintHandler = std::function<void(QPainter& painter, const QRect& exposed)>;
    enum class TPointer { PassThrough, Take };

    TPaintBox(const QString& name, QWidget* parent, TPaintHandler onPaint,
              TPointer pointer = TPointer::PassThrough)
        : QWidget(parent), FOnPaint(std::move(onPaint)) {
        setObjectName(name);
        setAttribute(Qt::WA_TransparentForMouseEvents, pointer == TPointer::PassThrough);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        FOnPaint(painter, event->rect());
    }

private:
    TPaintHandler FOnPaint;
};
