// The design surface: the grid, the tools that place elements, and moving and resizing them.
#include "templateeditor/TemplateEditor.h"

#include "core/Ledgrin.h"
#include "templateeditor/DesignGeometry.h"
#include "templateeditor/PaintBox.h"
#include "ui/DisplayText.h"
#include "ui/TemplateControls.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace DesignGeometry;

namespace {

const char* const kZoneProperty = "PointerZone";
const char* const kKindProperty = "ElementKind";

// Defaults of new elements.
constexpr int32_t kLabelFontColor = 0x800000;                       // navy
constexpr int32_t kBoxFontColor = static_cast<int32_t>(0x80000008); // window text
constexpr int32_t kLabelColor = static_cast<int32_t>(0x8000000F);   // never shows: labels are transparent
constexpr int32_t kBoxColor = 15780518;                             // 0xF0CAA6, a light sky blue
constexpr int kNewFontSize = 10;
constexpr int kEditWidth = 121;
constexpr int kMemoWidth = 185;
constexpr int kMemoHeight = 89;

// The tool pictures: an arrow pointer, a letter, a one-line box and a ruled memo box.
QIcon ToolIcon(const char* kind) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    if (!kind) {
        const QPointF arrow[] = {{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16.5, 20}, {13.5, 14}, {19, 14}};
        painter.setBrush(Qt::white);
        painter.drawPolygon(arrow, 7);
    } else if (std::string_view(kind) == kKindLabel) {
        QFont font = painter.font();
        font.setPixelSize(17);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 128));
        painter.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("A"));
    } else {
        const bool memo = std::string_view(kind) == kKindMemo;
        const QRectF box = memo ? QRectF(3.5, 3.5, 17, 17) : QRectF(2.5, 8.5, 19, 8);
        painter.setBrush(QColor(0xA6, 0xCA, 0xF0));
        painter.drawRect(box);
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        const int lines = memo ? 3 : 1;
        for (int i = 0; i < lines; ++i) {
            const qreal y = memo ? 8.5 + 4 * i : 12.5;
            painter.drawLine(QPointF(box.left() + 3, y),
                             QPointF(box.right() - 3 - (i == lines - 1 ? 4 : 0), y));
        }
    }
    painter.end();
    return QIcon(pixmap);
}

TPointerZone ZoneOf(const QWidget* control) {
    const QVariant zone = control->property(kZoneProperty);
    return zone.isValid() ? static_cast<TPointerZone>(zone.toInt()) : TPointerZone::None;
}

} // namespace

QWidget* TTemplateEditor::CreateToolColumn() {
    auto* column = new QWidget(PanelRight);
    column->setObjectName(QStringLiteral("PanelTools"));
    column->setFixedWidth(33);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 1, 0);
    layout->setSpacing(0);

    ActionNewLabel = new QAction(QStringLiteral("New Label"), this);
    ActionNewLabel->setObjectName(QStringLiteral("ActionNewLabel"));
    ActionNewEdit = new QAction(QStringLiteral("New Single-Line Text Box"), this);
    ActionNewEdit->setObjectName(QStringLiteral("ActionNewEdit"));
    ActionNewMemo = new QAction(QStringLiteral("New Multi-Line Text Box"), this);
    ActionNewMemo->setObjectName(QStringLiteral("ActionNewMemo"));
    connect(ActionNewLabel, &QAction::triggered, this, [this] { NewElement(kKindLabel); });
    connect(ActionNewEdit, &QAction::triggered, this, [this] { NewElement(kKindEdit); });
    connect(ActionNewMemo, &QAction::triggered, this, [this] { NewElement(kKindMemo); });

    struct TTool {
        QToolButton*& Button;
        const char* Name;
        const char* Hint;
        const char* Kind;
    };
    const TTool tools[] = {{TBArrow, "TBArrow", "", nullptr},
                           {TBLabel, "TBLabel", "label", kKindLabel},
                           {TBEdit, "TBEdit", "single-line text box", kKindEdit},
                           {TBMemo, "TBMemo", "multi-line text box", kKindMemo}};
    for (const TTool& tool : tools) {
        auto* button = new QToolButton(column);
        button->setObjectName(QLatin1String(tool.Name));
        button->setToolTip(QLatin1String(tool.Hint));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(32, 32);
        button->setIconSize(QSize(24, 24));
        button->setIcon(ToolIcon(tool.Kind));
        button->installEventFilter(this);
        connect(button, &QToolButton::clicked, this, [this, button] { ToolClick(button); });
        layout->addWidget(button);
        tool.Button = button;
    }
    TBArrow->setChecked(true);
    layout->addStretch();
    return column;
}

void TTemplateEditor::LoadCategoryTemplate(TCategory* category) {
    ClearDesignSurface();
    SetPanelColor(category->FormColor);
    for (const auto& element : category->Elements) {
        if (QWidget* control = MakeElementControl(*element))
            FElementControls.push_back(control);
    }
    for (const auto& column : category->Columns)
        AddPreviewColumn(column->ElementID, column->Width, column->Caption);
}

void TTemplateEditor::ClearDesignSurface() {
    SelectedElement = Panel4;
    FPopupElement = nullptr;
    FPressed = nullptr;
    for (QWidget* control : FElementControls)
        delete control;
    FElementControls.clear();
    FPreviewColumns->setColumnCount(0);
    PBSelectBox->hide();
    PBMoveBox->hide();
    ResizingWidth = ResizingHeight = Moving = false;
}

void TTemplateEditor::SetPanelColor(int32_t color) {
    FPanelColor = color;
    Panel4->update();
}

void TTemplateEditor::PBGridPaint(QPainter& painter, const QRect& exposed) {
    const std::vector<QPoint> points = GridPoints(exposed);
    painter.setPen(Qt::black);
    painter.drawPoints(points.data(), static_cast<int>(points.size()));
}

void TTemplateEditor::PBSelectBoxPaint(QPainter& painter) {
    for (const QRect& mark : SelectBoxMarks(PBSelectBox->width(), PBSelectBox->height()))
        painter.fillRect(mark, Qt::black);
}

void TTemplateEditor::PBMoveBoxPaint(QPainter& painter) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    // The outline's right and bottom pixels are at width - 2 and height - 2.
    painter.drawRect(0, 0, PBMoveBox->width() - 2, PBMoveBox->height() - 2);
}

QWidget* TTemplateEditor::MakeElementControl(const TElement& element) {
    QWidget* control = TemplateControls::Create(element, Panel4);
    if (!control)
        return nullptr;
    // The panel handles the pointer for every element; the controls only show the template.
    QList<QWidget*> parts = control->findChildren<QWidget*>();
    parts << control;
    for (QWidget* part : parts) {
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
        part->setFocusPolicy(Qt::NoFocus);
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    control->setProperty(kKindProperty, QString::fromStdString(element.Kind));
    return control;
}

QWidget* TTemplateEditor::RebuildControl(QWidget* old) {
    QWidget* control = MakeElementControl(*CurrentCategory->ElementByID(TemplateControls::ElementIdOf(old)));
    control->stackUnder(old);
    control->setProperty(kZoneProperty, old->property(kZoneProperty));
    std::replace(FElementControls.begin(), FElementControls.end(), old, control);
    for (QWidget** reference : {&SelectedElement, &FPopupElement, &FPressed}) {
        if (*reference == old)
            *reference = control;
    }
    delete old;
    return control;
}

QWidget* TTemplateEditor::ControlAt(const QPoint& panelPoint) const {
    for (auto it = FElementControls.rbegin(); it != FElementControls.rend(); ++it) {
        if (!(*it)->isHidden() && (*it)->geometry().contains(panelPoint))
            return *it;
    }
    return nullptr;
}

QWidget* TTemplateEditor::ControlOfElement(int32_t id) const {
    for (QWidget* control : FElementControls) {
        if (TemplateControls::ElementIdOf(control) == id)
            return control;
    }
    return nullptr;
}

void TTemplateEditor::NewElement(const char* kind) {
    if (!CurrentCategory)
        return;
    const bool label = std::string_view(kind) == kKindLabel;
    const bool memo = std::string_view(kind) == kKindMemo;
    TFont font;
    font.Name = StoredText(QApplication::font().family());
    font.Size = kNewFontSize;
    font.Color = label ? kLabelFontColor : kBoxFontColor;
    const int32_t id = CurrentCategory->AddElement(
        kind, InsertX, InsertY, label ? 0 : (memo ? kMemoWidth : kEditWidth), memo ? kMemoHeight : 0,
        label ? kLabelColor : kBoxColor, font, label ? "New Label" : "");
    QWidget* control = MakeElementControl(*CurrentCategory->ElementByID(id));
    FElementControls.push_back(control);
    // A label's size and a one-line box's height come from the font.
    WriteControlBack(control);
    SelectElement(id);
}

QAction* TTemplateEditor::ActionOfTool(const QToolButton* tool) const {
    if (tool == TBLabel)
        return ActionNewLabel;
    if (tool == TBEdit)
        return ActionNewEdit;
    if (tool == TBMemo)
        return ActionNewMemo;
    return nullptr;
}

void TTemplateEditor::ToolClick(QToolButton* tool) {
    if (!ToolDoubleClicked)
        return;
    ToolDoubleClicked = false;
    QAction* action = ActionOfTool(tool);
    if (!action)
        return;
    InsertX = 12;
    InsertY = 12;
    action->trigger();
    QCoreApplication::processEvents();
    TBArrow->setChecked(true);
    if (tool != TBLabel) {
        QCoreApplication::processEvents();
        AskListColumnQuestion();
    }
}

bool TTemplateEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel4) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            PanelMouseEvent(event);
            return true;
        case QEvent::ContextMenu: {
            const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            PanelContextMenu(menuEvent->pos(), menuEvent->globalPos());
            return true;
        }
        case QEvent::Resize:
            PBGrid->setGeometry(Panel4->rect());
            break;
        default:
            break;
        }
    } else if (watched == EditFocus && event->type() == QEvent::KeyRelease) {
        EditFocusKeyUp(static_cast<QKeyEvent*>(event)->key());
    } else if (event->type() == QEvent::MouseButtonDblClick && qobject_cast<QToolButton*>(watched) &&
               ActionOfTool(static_cast<QToolButton*>(watched))) {
        ToolDoubleClicked = true;
    }
    return QDialog::eventFilter(watched, event);
}

// The panel takes every pointer event of the surface and hands it to the element under the
// pointer, or to the grid; the control a press lands on keeps the pointer until the release.
void TTemplateEditor::PanelMouseEvent(QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint point = mouse->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (QWidget* control = ControlAt(point)) {
            FPressed = control;
            ElementMouseDown(control, mouse->button(), point - control->pos());
        } else {
            FPressed = Panel4;
            SelectElement(0);
        }
        break;
    case QEvent::MouseMove:
        if (mouse->buttons() == Qt::NoButton || !FPressed) {
            if (QWidget* control = ControlAt(point))
                UpdatePointerZone(control, point);
            else
                Panel4->unsetCursor();
        } else if (FPressed != Panel4) {
            UpdatePointerZone(FPressed, point);
            ElementMouseMove(FPressed, point - FPressed->pos());
        }
        break;
    case QEvent::MouseButtonRelease: {
        QWidget* target = FPressed;
        if (mouse->buttons() == Qt::NoButton)
            FPressed = nullptr;
        if (target == Panel4)
            GridMouseUp(point);
        else if (target)
            ElementMouseUp(target);
        break;
    }
    default:
        break;
    }
}

void TTemplateEditor::PanelContextMenu(const QPoint& panelPoint, const QPoint& globalPoint) {
    QWidget* control = ControlAt(panelPoint);
    if (!control)
        return;
    PopupMenu3Popup(control);
    PopupMenu3->popup(globalPoint);
}

void TTemplateEditor::UpdatePointerZone(QWidget* control, const QPoint& panelPoint) {
    const QPoint local = panelPoint - control->pos();
    const TPointerZone zone = ZoneAt(control->property(kKindProperty).toString().toStdString(), local.x(),
                                     local.y(), control->width(), control->height());
    control->setProperty(kZoneProperty, static_cast<int>(zone));
    Panel4->setCursor(CursorOf(zone));
}

void TTemplateEditor::GridMouseUp(const QPoint& panelPoint) {
    if (TBArrow->isChecked())
        return;
    QToolButton* tool = TBLabel->isChecked() ? TBLabel : (TBEdit->isChecked() ? TBEdit : TBMemo);
    InsertX = panelPoint.x();
    InsertY = panelPoint.y();
    ActionOfTool(tool)->trigger();
    if (tool != TBLabel) {
        QCoreApplication::processEvents();
        AskListColumnQuestion();
    }
    TBArrow->setChecked(true);
}

void TTemplateEditor::ElementMouseDown(QWidget* control, Qt::MouseButton button, const QPoint& point) {
    if (button == Qt::RightButton)
        return;
    DragOffsetX = control->x() - point.x();
    DragOffsetY = control->y() - point.y();
    const TPointerZone zone = ZoneOf(control);
    ResizingWidth = ResizesWidth(zone);
    ResizingHeight = ResizesHeight(zone);
    Moving = zone == TPointerZone::Move;
    if (Moving) {
        PBMoveBox->setGeometry(control->geometry());
        PBMoveBox->show();
    }
    SelectElement(TemplateControls::ElementIdOf(control));
}

void TTemplateEditor::ElementMouseMove(QWidget* control, const QPoint& point) {
    if (ResizingWidth) {
        control->resize(DraggedSize(point.x()), control->height());
        PBSelectBox->hide();
    }
    if (ResizingHeight) {
        control->resize(control->width(), DraggedSize(point.y()));
        PBSelectBox->hide();
    }
    if (Moving) {
        PBMoveBox->move(SnapToGrid(DragOffsetX + point.x()), SnapToGrid(DragOffsetY + point.y()));
        PBSelectBox->hide();
    }
}

void TTemplateEditor::ElementMouseUp(QWidget* control) {
    if (Moving) {
        PBMoveBox->hide();
        control->move(PBMoveBox->pos());
    }
    if (Moving || ResizingWidth || ResizingHeight) {
        WriteControlBack(control);
        SelectElement(TemplateControls::ElementIdOf(control));
    }
    ResizingWidth = ResizingHeight = Moving = false;
}
