// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/DesignSurface.h"

#include "core/Category.h"
#include "exchange/DisplayText.h"
#include "templateeditor/DesignGeometry.h"
#include "templateeditor/PaintBox.h"
#include "templateeditor/ToolColumn.h"
#include "ui/RunCommand.h"
#include "ui/TemplateControls.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

using namespace DesignGeometry;

namespace {

const char* const kKindProperty = "ElementKind";
const char* const kEmptyLabelProperty = "EmptyLabel";

// Defaults of new elements.
constexpr int32_t kLabelFontColor = 0x800000;                       // navy
constexpr int32_t kBoxFontColor = static_cast<int32_t>(0x80000008); // window text
constexpr int32_t kLabelColor = static_cast<int32_t>(0x8000000F);   // never shows: labels are transparent
constexpr int32_t kBoxColor = 15780518;                             // 0xF0CAA6, a light sky blue
constexpr int kNewFontSize = 10;
constexpr int kEditWidth = 121;
constexpr int kMemoWidth = 185;
constexpr int kMemoHeight = 89;
const QPoint kCorner(12, 12);

std::string KindOf(const QWidget* control) {
    return control->property(kKindProperty).toString().toStdString();
}

// A label without a caption has no text to size itself to; it keeps a size the pointer can find.
QSize EmptyLabelSize(const QFont& font) {
    const int height = QFontMetrics(font).height();
    return QSize(2 * height, height);
}

// Writes element into the category under id: a text box's caption is always stored empty.
void StoreElement(TCategory& category, int32_t id, const TElement& element) {
    category.UpdateElement(id, element.Left, element.Top, element.Width, element.Height, element.Color,
                           element.Font, element.IsLabel() ? element.Caption : std::string());
}

QAction* NamedAction(const char* name, const QString& text, QObject* parent) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

TDesignSurface::TDesignSurface(TToolColumn* tools, QWidget* parent)
    : QWidget(parent), FTools(tools),
      FSelectFrame(new TPaintBox(QStringLiteral("PBSelectBox"), this,
                                 [this](QPainter& painter, const QRect&) {
                                     for (const QRect& mark :
                                          SelectBoxMarks(FSelectFrame->width(), FSelectFrame->height()))
                                         painter.fillRect(mark, Qt::black);
                                 })),
      FDrag(this), FElementMenu(new QMenu(this)),
      FNewLabel(NamedAction("ActionNewLabel", tr("New Label"), this)),
      FNewEdit(NamedAction("ActionNewEdit", tr("New Single-Line Text Box"), this)),
      FNewMemo(NamedAction("ActionNewMemo", tr("New Multi-Line Text Box"), this)) {
    setObjectName(QStringLiteral("Panel4"));
    setMouseTracking(true);
    // Tab brings the keyboard here; a click on the grid leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Form design"));
    FSelectFrame->hide();

    for (const auto& [action, kind] :
         {std::pair{FNewLabel, kKindLabel}, std::pair{FNewEdit, kKindEdit}, std::pair{FNewMemo, kKindMemo}}) {
        const char* placed = kind;
        ConnectCommand(action, &QAction::triggered, this, [this, placed] { CreateElement(placed); });
    }
    connect(FTools, &TToolColumn::DoubleClicked, this,
            [this](const char* kind) { PlaceWithTool(kind, kCorner); });

    FElementMenu->setObjectName(QStringLiteral("PopupMenu3"));
    QAction* duplicate = FElementMenu->addAction(tr("&Duplicate This Element"));
    duplicate->setObjectName(QStringLiteral("DuplicateThisElement1"));
    ConnectCommand(duplicate, &QAction::triggered, this, [this] { DuplicateElement(); });
}

void TDesignSurface::Load(TCategory* category) {
    ClearControls();
    FCategory = category;
    if (category) {
        SetFormColor(category->FormColor);
        for (const auto& element : category->Elements) {
            if (QWidget* control = MakeControl(*element))
                FControls.push_back(control);
        }
    }
    SelectElement(0);
}

void TDesignSurface::ClearControls() {
    FSelected = FPressed = FMenuElement = nullptr;
    FPressedGrid = false;
    for (QWidget* control : FControls)
        delete control;
    FControls.clear();
    FSelectFrame->hide();
    FDrag.Cancel();
}

void TDesignSurface::SetFormColor(int32_t color) {
    FFormColor = color;
    if (FCategory)
        FCategory->FormColor = color;
    update();
}

QWidget* TDesignSurface::MakeControl(const TElement& element) {
    QWidget* control = TemplateControls::Create(element, this);
    if (!control)
        return nullptr;
    // The surface handles the pointer and the keys for every element; the controls only show it.
    QList<QWidget*> parts = control->findChildren<QWidget*>();
    parts << control;
    for (QWidget* part : parts) {
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
        part->setFocusPolicy(Qt::NoFocus);
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    control->setProperty(kKindProperty, QString::fromStdString(element.Kind));
    if (element.IsLabel() && element.Caption.empty()) {
        control->resize(EmptyLabelSize(control->font()));
        control->setProperty(kEmptyLabelProperty, true);
    }
    return control;
}

QWidget* TDesignSurface::RebuildControl(QWidget* old) {
    const TElement* element = FCategory->ElementByID(TemplateControls::ElementIdOf(old));
    QWidget* control = element ? MakeControl(*element) : nullptr;
    if (!control)
        return old;
    control->stackUnder(old);
    TElementDrag::CarryZone(old, control);
    std::replace(FControls.begin(), FControls.end(), old, control);
    for (QWidget** reference : {&FSelected, &FMenuElement, &FPressed}) {
        if (*reference == old)
            *reference = control;
    }
    update(old->geometry());
    delete old;
    return control;
}

QWidget* TDesignSurface::ControlAt(const QPoint& point) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        if (!(*it)->isHidden() && (*it)->geometry().contains(point))
            return *it;
    }
    return nullptr;
}

QWidget* TDesignSurface::ControlOfElement(int32_t id) const {
    for (QWidget* control : FControls) {
        if (TemplateControls::ElementIdOf(control) == id)
            return control;
    }
    return nullptr;
}

void TDesignSurface::WriteControlBack(QWidget* control) {
    const int32_t id = TemplateControls::ElementIdOf(control);
    TElement element;
    if (const TElement* stored = FCategory->ElementByID(id))
        element = *stored;
    element.Left = control->x();
    element.Top = control->y();
    element.Width = control->width();
    element.Height = control->height();
    StoreElement(*FCategory, id, element);
}

void TDesignSurface::SelectElement(int32_t id) {
    FSelected = id != 0 ? ControlOfElement(id) : nullptr;
    if (!FSelected) {
        FSelectFrame->hide();
        emit SelectionChanged(nullptr);
        return;
    }
    PlaceSelectFrame();
    setFocus();
    emit SelectionChanged(SelectedElement());
}

int32_t TDesignSurface::SelectedID() const {
    return TemplateControls::ElementIdOf(FSelected);
}

const TElement* TDesignSurface::SelectedElement() const {
    const int32_t id = SelectedID();
    return id != 0 && FCategory ? FCategory->ElementByID(id) : nullptr;
}

void TDesignSurface::PlaceSelectFrame() {
    FSelectFrame->setGeometry(SelectBoxRect(FSelected->geometry()));
    FSelectFrame->show();
    FSelectFrame->raise();
    FSelectFrame->update();
}

void TDesignSurface::ChangeSelected(const std::function<void(TElement&)>& change) {
    if (!FCategory || !FSelected)
        return;
    const int32_t id = SelectedID();
    TElement element;
    if (const TElement* stored = SelectedElement())
        element = *stored;
    change(element);
    StoreElement(*FCategory, id, element);
    // The control is made anew so that it shows the element exactly as the record form will.
    WriteControlBack(RebuildControl(FSelected));
    PlaceSelectFrame();
}

void TDesignSurface::DeleteSelected() {
    if (!FCategory || !FSelected)
        return;
    QWidget* control = FSelected;
    FCategory->DeleteElement(SelectedID());
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
    if (FMenuElement == control)
        FMenuElement = nullptr;
    if (FPressed == control)
        FPressed = nullptr;
    update(control->geometry());
    delete control;
    SelectElement(0);
}

void TDesignSurface::CreateElement(const char* kind) {
    if (!FCategory)
        return;
    const bool label = std::string_view(kind) == kKindLabel;
    const bool memo = std::string_view(kind) == kKindMemo;
    TFont font;
    // The face actually shown, not the generic name the application font may carry.
    font.Name = StoredText(QFontInfo(QApplication::font()).family());
    font.Size = kNewFontSize;
    font.Color = label ? kLabelFontColor : kBoxFontColor;
    const int32_t id = FCategory->AddElement(kind, FInsertPoint.x(), FInsertPoint.y(),
                                             label ? 0 : (memo ? kMemoWidth : kEditWidth),
                                             memo ? kMemoHeight : 0, label ? kLabelColor : kBoxColor, font,
                                             label ? StoredText(tr("New Label")) : std::string());
    QWidget* control = MakeControl(*FCategory->ElementByID(id));
    FControls.push_back(control);
    // A label's size and a one-line box's height come from the font.
    WriteControlBack(control);
    SelectElement(id);
}

// A tool places one element, lets it be painted, and gives way to the arrow; a text box then
// offers its list column.
void TDesignSurface::PlaceWithTool(const char* kind, const QPoint& at) {
    FInsertPoint = at;
    const std::string_view placed(kind);
    (placed == kKindLabel ? FNewLabel : placed == kKindEdit ? FNewEdit : FNewMemo)->trigger();
    FTools->SelectArrow();
    QCoreApplication::processEvents();
    if (placed != kKindLabel)
        emit TextBoxPlaced();
}

void TDesignSurface::DuplicateElement() {
    const TElement* found =
        FMenuElement ? FCategory->ElementByID(TemplateControls::ElementIdOf(FMenuElement)) : nullptr;
    if (!found)
        return;
    const TElement source = *found;
    FInsertPoint = kCorner;
    CreateElement(source.Kind.c_str());
    ChangeSelected([&source](TElement& copy) {
        copy.Left = source.Left + 20;
        copy.Top = source.Top + 20;
        copy.Font = source.Font;
        if (source.IsLabel()) {
            copy.Caption = source.Caption;
        } else {
            copy.Width = source.Width;
            copy.Height = source.Height;
            copy.Color = source.Color;
        }
    });
    FTools->SelectArrow();
    SelectElement(SelectedID());
}

void TDesignSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), TemplateControls::ToQColor(FFormColor, palette()));
    const std::vector<QPoint> points = GridPoints(event->rect());
    painter.setPen(Qt::black);
    painter.drawPoints(points.data(), static_cast<int>(points.size()));
    painter.setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
    for (const QWidget* control : FControls) {
        if (control->property(kEmptyLabelProperty).toBool())
            painter.drawRect(control->geometry().adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

// A press on an element starts what its pointer zone says; the control keeps the pointer until
// the release. A press on the grid selects the panel itself.
void TDesignSurface::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    FPressed = ControlAt(point);
    FPressedGrid = FPressed == nullptr;
    if (!FPressed) {
        SelectElement(0);
    } else if (event->button() != Qt::RightButton) {
        // The right button opens the element menu, which selects the element itself.
        FDrag.Start(FPressed, point - FPressed->pos());
        SelectElement(TemplateControls::ElementIdOf(FPressed));
    }
}

void TDesignSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TDesignSurface::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->buttons() == Qt::NoButton || (!FPressed && !FPressedGrid)) {
        if (QWidget* control = ControlAt(point))
            FDrag.TrackZone(control, KindOf(control), point);
        else
            unsetCursor();
    } else if (FPressed) {
        FDrag.TrackZone(FPressed, KindOf(FPressed), point);
        if (FDrag.Follow(FPressed, point - FPressed->pos()))
            FSelectFrame->hide();
    }
}

void TDesignSurface::mouseReleaseEvent(QMouseEvent* event) {
    QWidget* target = FPressed;
    const bool grid = FPressedGrid;
    if (event->buttons() == Qt::NoButton) {
        FPressed = nullptr;
        FPressedGrid = false;
    }
    if (target) {
        if (FDrag.Finish(target)) {
            RunCommand(this, [this, target] { WriteControlBack(target); });
            SelectElement(TemplateControls::ElementIdOf(target));
        }
    } else if (grid) {
        if (const char* kind = FTools->PlacingKind())
            PlaceWithTool(kind, event->position().toPoint());
    }
}

void TDesignSurface::contextMenuEvent(QContextMenuEvent* event) {
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    QWidget* control = keyboard ? FSelected : ControlAt(event->pos());
    if (control)
        OpenElementMenu(control, keyboard ? mapToGlobal(control->geometry().center()) : event->globalPos());
}

void TDesignSurface::OpenElementMenu(QWidget* control, const QPoint& globalPoint) {
    FMenuElement = control;
    SelectElement(TemplateControls::ElementIdOf(control));
    FElementMenu->popup(globalPoint);
}

void TDesignSurface::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Delete:
        if (FSelected)
            emit DeleteRequested();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Ctrl+Tab and Ctrl+Shift+Tab leave the surface at once, keeping the selection, so that the
        // property bar is one key away.
        if (event->modifiers().testFlag(Qt::ControlModifier)) {
            const bool back =
                event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
            QWidget::focusNextPrevChild(!back);
            return;
        }
        break;
    case Qt::Key_Menu:
        if (FSelected)
            OpenElementMenu(FSelected, mapToGlobal(FSelected->geometry().center()));
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (FSelected) {
            const bool resize = event->modifiers().testFlag(Qt::ShiftModifier);
            RunCommand(this, [this, event, resize] { MoveOrResizeSelected(event->key(), resize); });
        }
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TDesignSurface::MoveOrResizeSelected(int key, bool resize) {
    FSelected->setGeometry(KeyedBounds(KindOf(FSelected), FSelected->geometry(), key, resize));
    WriteControlBack(FSelected);
    PlaceSelectFrame();
}

bool TDesignSurface::StepSelection(bool next) {
    if (FControls.empty())
        return false;
    const auto at = std::find(FControls.begin(), FControls.end(), FSelected);
    const int count = static_cast<int>(FControls.size());
    int index = next ? 0 : count - 1;
    if (at != FControls.end()) {
        index = static_cast<int>(at - FControls.begin()) + (next ? 1 : -1);
        if (index < 0 || index >= count)
            return false;
    }
    SelectElement(TemplateControls::ElementIdOf(FControls[static_cast<size_t>(index)]));
    return true;
}

bool TDesignSurface::focusNextPrevChild(bool next) {
    // Tab walks the elements first; past the last (or before the first) the focus moves on.
    return StepSelection(next) || QWidget::focusNextPrevChild(next);
}

void TDesignSurface::focusInEvent(QFocusEvent* event) {
    // Coming in by Tab with nothing selected selects the first element, by Shift+Tab the last.
    if (!FSelected && event->reason() == Qt::TabFocusReason)
        StepSelection(true);
    else if (!FSelected && event->reason() == Qt::BacktabFocusReason)
        StepSelection(false);
    update();
    QWidget::focusInEvent(event);
}

void TDesignSurface::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}
