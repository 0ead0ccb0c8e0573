// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/FileDrop.h"

#include "exchange/workbook/Workbook.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QWidget>

namespace {

enum class TKind { None, DataFile, Workbook };

// What the one local file that data carries is, by its extension; path receives it.
TKind KindOf(const QMimeData& data, QString& path) {
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return TKind::None;
    path = urls.constFirst().toLocalFile();
    const QFileInfo file(path);
    if (!file.isFile())
        return TKind::None;
    if (file.suffix().compare(QStringLiteral("lgd"), Qt::CaseInsensitive) == 0)
        return TKind::DataFile;
    return WorkbookFormatOf(path) != TWorkbookFormat::None ? TKind::Workbook : TKind::None;
}

} // namespace

TFileDrop::TFileDrop(QWidget* window, const QAction& chooseDataFile, const QAction& importWorkbook)
    : QObject(window), FChooseDataFile(chooseDataFile), FImportWorkbook(importWorkbook) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool TFileDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    // Enter and move events are drop events too.
    auto* drop = static_cast<QDropEvent*>(event);
    QString path;
    const TKind kind = drop->mimeData() != nullptr ? KindOf(*drop->mimeData(), path) : TKind::None;
    // A drop does what its command does, and only when that command is offered now.
    const QAction& command = kind == TKind::DataFile ? FChooseDataFile : FImportWorkbook;
    if (kind == TKind::None || !command.isEnabled() || !(drop->possibleActions() & Qt::CopyAction)) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        QMetaObject::invokeMethod(
            this,
            [this, kind, path] {
                if (kind == TKind::DataFile)
                    emit DataFileDropped(path);
                else
                    emit WorkbookDropped(path);
            },
            Qt::QueuedConnection);
    }
    return true;
}
