// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/RecordForm.h"

#include "core/Category.h"
#include "core/FormLayout.h"
#include "exchange/DisplayText.h"
#include "ui/TemplateControls.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace {

constexpr int kFormSilver = 0xC0C0C0;
constexpr int kStripHeight = 28;
constexpr int kStripMargin = 2;
constexpr int kStripButtonsLeft = 16;

// A memo's text: its document's text with every paragraph and line break as "\n" (no-break
// spaces stay as they are).
QString MemoText(const QPlainTextEdit& memo) {
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// The text a form box shows, as the box gives it.
QString BoxText(const QWidget& control) {
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(&control))
        return MemoText(*memo);
    const auto* edit = qobject_cast<const QLineEdit*>(&control);
    return edit != nullptr ? edit->text() : QString();
}

// Shows a stored value in a form box; a memo shows CR LF, lone CR and lone LF as line breaks.
void SetBoxText(QWidget& control, std::string_view value) {
    QString text = DisplayText(value);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(&control)) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        memo->setPlainText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        edit->setText(text);
        edit->setCursorPosition(0); // long values show their beginning
    }
}

// The stored value of a box's text: every line break as CR LF, also those pasted into a one-line
// box as lone CR or LF.
std::string StoredBoxText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return StoredText(text);
}

// A form label: where it stands and what it says.
struct TFormLabel {
    QRect Place;
    QString Text;
};

// What a screen reader calls a box: the text of the nearest label to its left on its line, else
// the caption of the list column that shows it; a closing colon is not read.
QString AccessibleBoxName(const QWidget& box, const std::vector<TFormLabel>& labels,
                          const TCategory& category) {
    const TFormLabel* nearest = nullptr;
    for (const TFormLabel& label : labels) {
        const bool sameLine = label.Place.top() <= box.geometry().bottom() && label.Place.bottom() >= box.y();
        if (sameLine && label.Place.left() < box.x() &&
            (nearest == nullptr || label.Place.left() > nearest->Place.left()))
            nearest = &label;
    }
    QString name;
    if (nearest != nullptr) {
        name = nearest->Text;
    } else {
        const int32_t id = TemplateControls::ElementIdOf(&box);
        for (const auto& column : category.Columns)
            if (column->ElementID == id)
                name = DisplayText(column->Caption);
    }
    name = name.simplified();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

QPushButton* NewStripButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TRecordForm::TRecordForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelDataFormArea"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("PanelDataFormToolBar"));
    strip->setMinimumHeight(kStripHeight);
    strip->setFrameShape(QFrame::StyledPanel);
    // The buttons show over an edited record, the text while none is shown: never both.
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(kStripButtonsLeft, kStripMargin, kStripMargin, kStripMargin);
    FSaveButton = NewStripButton(tr("&Save"), "BtnSaveData", strip);
    connect(FSaveButton, &QPushButton::clicked, this, &TRecordForm::SaveRequested);
    FCancelButton = NewStripButton(tr("&Cancel"), "BtnCancelData", strip);
    connect(FCancelButton, &QPushButton::clicked, this, &TRecordForm::CancelRequested);
    FStripLabel = new QLabel(strip);
    FStripLabel->setObjectName(QStringLiteral("LabelDataFormToolBar"));
    FStripLabel->setAlignment(Qt::AlignCenter);
    stripLayout->addWidget(FSaveButton);
    stripLayout->addWidget(FCancelButton);
    stripLayout->addWidget(FStripLabel, 1);
    layout->addWidget(strip);

    FHolder = new QFrame(this);
    FHolder->setObjectName(QStringLiteral("PanelDataFormHolder"));
    FHolder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FHolder->setLineWidth(1);
    FHolder->setMinimumHeight(40);
    FHolder->setAutoFillBackground(true);
    QPalette silver = FHolder->palette();
    silver.setColor(QPalette::Window, QColor(QRgb(kFormSilver)));
    FHolder->setPalette(silver);
    FHolder->installEventFilter(this);

    FViewport = new QWidget(FHolder);
    FViewport->setObjectName(QStringLiteral("PanelDataFormHolder2"));
    FFormPanel = new QWidget(FViewport);
    FFormPanel->setObjectName(QStringLiteral("PanelDataForm"));
    FFormPanel->setAutoFillBackground(true);
    FFormPanel->setPalette(silver);
    FFormPanel->setFocusPolicy(Qt::ClickFocus);
    FFormPanel->installEventFilter(this);

    FVerticalBar = new QScrollBar(Qt::Vertical, FHolder);
    FVerticalBar->setObjectName(QStringLiteral("SBV"));
    FVerticalBar->setFixedWidth(18);
    FHorizontalBar = new QScrollBar(Qt::Horizontal, FHolder);
    FHorizontalBar->setObjectName(QStringLiteral("SBH"));
    FHorizontalBar->setFixedHeight(18);
    for (QScrollBar* bar : {FVerticalBar, FHorizontalBar}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setRange(0, 0);
        bar->setSingleStep(1);
    }
    FVerticalBar->setEnabled(false);
    FHorizontalBar->hide();
    connect(FVerticalBar, &QScrollBar::valueChanged, this, &TRecordForm::ScrollVertically);
    connect(FHorizontalBar, &QScrollBar::valueChanged, this, &TRecordForm::ScrollHorizontally);
    layout->addWidget(FHolder, 1);

    ShowNoRecord(true);
    SetModified(false);
}

void TRecordForm::SetModified(bool modified) {
    const bool changed = modified != FModified;
    FModified = modified;
    FSaveButton->setVisible(modified);
    FCancelButton->setVisible(modified);
    if (changed)
        emit ModifiedChanged(modified);
}

void TRecordForm::ShowNoRecord(bool noRecord) {
    FStripLabel->setText(noRecord ? tr("No record is selected.") : QString());
}

void TRecordForm::Build(const TCategory* category) {
    Clear();
    if (category == nullptr)
        return;
    {
        const QSignalBlocker blockV(FVerticalBar);
        const QSignalBlocker blockH(FHorizontalBar);
        FVerticalBar->setValue(0);
        FHorizontalBar->setValue(0);
    }
    FFormPanel->move(0, 0);
    SetFormColor(TemplateControls::ToQColor(category->FormColor));
    std::vector<TFormLabel> labels;
    for (const auto& element : category->Elements) {
        QWidget* control = TemplateControls::Create(*element, FFormPanel);
        if (control == nullptr)
            continue;
        if (qobject_cast<QLabel*>(control) != nullptr)
            labels.push_back({control->geometry(), DisplayText(element->Caption)});
        control->installEventFilter(this);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setMaxLength(std::numeric_limits<int>::max());
            connect(edit, &QLineEdit::textChanged, this, &TRecordForm::BoxEdited);
            FBoxes.push_back({control, QString()});
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
            connect(memo, &QPlainTextEdit::textChanged, this, &TRecordForm::BoxEdited);
            FBoxes.push_back({control, QString()});
        }
        FFormRight = std::max(FFormRight, control->x() + control->width());
        FFormBottom = std::max(FFormBottom, control->y() + control->height());
    }
    for (const TBox& box : FBoxes)
        box.Control->setAccessibleName(AccessibleBoxName(*box.Control, labels, *category));
    LayOutScrollArea();
    AssignTabOrder();
}

void TRecordForm::Clear() {
    FBoxes.clear();
    const QList<QWidget*> controls =
        FFormPanel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = controls.crbegin(); it != controls.crend(); ++it)
        delete *it;
    SetFormColor(QColor(QRgb(kFormSilver)));
    FFormRight = 0;
    FFormBottom = 0;
    LayOutScrollArea();
}

void TRecordForm::Load(const TCategory& category, const TRecord& record) {
    for (TBox& box : FBoxes) {
        // Loading is no edit: the box's change signal is held back meanwhile.
        const QSignalBlocker blocker(box.Control);
        SetBoxText(*box.Control,
                   record.Value(category.ValueIndexOf(TemplateControls::ElementIdOf(box.Control))));
        box.Loaded = BoxText(*box.Control);
    }
}

void TRecordForm::SaveInto(const TCategory& category, TRecord& record) {
    for (TBox& box : FBoxes) {
        const QString text = BoxText(*box.Control);
        // A box whose text is as loaded keeps its stored bytes (an older file's encoding, a lone
        // line break).
        if (text == box.Loaded)
            continue;
        record.SetValue(category.ValueIndexOf(TemplateControls::ElementIdOf(box.Control)),
                        StoredBoxText(text));
        box.Loaded = text;
    }
}

void TRecordForm::BoxEdited() {
    SetModified(true);
}

std::vector<QWidget*> TRecordForm::BoxesInTabOrder() const {
    std::vector<TBoxPosition> positions;
    positions.reserve(FBoxes.size());
    for (const TBox& box : FBoxes)
        positions.push_back({box.Control->x(), box.Control->y()});
    std::vector<QWidget*> boxes;
    for (int index : ReadingOrder(positions))
        boxes.push_back(FBoxes[static_cast<size_t>(index)].Control);
    return boxes;
}

void TRecordForm::AssignTabOrder() {
    const std::vector<QWidget*> boxes = BoxesInTabOrder();
    for (size_t i = 1; i < boxes.size(); ++i)
        QWidget::setTabOrder(boxes[i - 1], boxes[i]);
}

void TRecordForm::FocusFirstBox() {
    const std::vector<QWidget*> boxes = BoxesInTabOrder();
    if (!boxes.empty())
        boxes.front()->setFocus(Qt::OtherFocusReason);
}

void TRecordForm::SetFormColor(const QColor& color) {
    QPalette palette = FFormPanel->palette();
    palette.setColor(QPalette::Window, color);
    FFormPanel->setPalette(palette);
}

bool TRecordForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FHolder && event->type() == QEvent::Resize) {
        LayOutScrollArea();
    } else if (watched == FFormPanel && event->type() == QEvent::Wheel) {
        // A notch scrolls a few lines; the bars' arrows keep their designed step.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int lines = 3 * fontMetrics().height();
        const QPoint notches = wheel->angleDelta() / 120;
        const bool sideways = notches.y() == 0 || (wheel->modifiers() & Qt::ShiftModifier);
        const int steps = notches.y() != 0 ? notches.y() : notches.x();
        ScrollQuietly(FHorizontalBar->value() - (sideways ? steps * lines : 0),
                      FVerticalBar->value() - (sideways ? 0 : steps * lines));
        return true;
    } else if (event->type() == QEvent::FocusIn && watched != FFormPanel) {
        EnsureVisible(static_cast<QWidget*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void TRecordForm::ScrollQuietly(int x, int y) {
    x = std::clamp(x, 0, FHorizontalBar->isVisible() ? FHorizontalBar->maximum() : 0);
    y = std::clamp(y, 0, FVerticalBar->isEnabled() ? FVerticalBar->maximum() : 0);
    const QSignalBlocker blockV(FVerticalBar);
    const QSignalBlocker blockH(FHorizontalBar);
    FVerticalBar->setValue(y);
    FHorizontalBar->setValue(x);
    FFormPanel->move(-x, -y);
}

void TRecordForm::EnsureVisible(const QWidget* control) {
    const QRect box = control->geometry();
    int x = FHorizontalBar->value();
    int y = FVerticalBar->value();
    if (box.bottom() >= y + FViewport->height())
        y = box.bottom() - FViewport->height() + 1;
    if (box.top() < y)
        y = box.top();
    if (box.right() >= x + FViewport->width())
        x = box.right() - FViewport->width() + 1;
    if (box.left() < x)
        x = box.left();
    ScrollQuietly(x, y);
}

void TRecordForm::LayOutScrollArea() {
    const QSignalBlocker blockV(FVerticalBar);
    const QSignalBlocker blockH(FHorizontalBar);
    FVerticalBar->setValue(0);
    FHorizontalBar->setValue(0);
    FFormPanel->move(0, 0);
    const TFormScrollLayout area =
        LayoutFormArea(FFormRight, FFormBottom, FHolder->width(), FHolder->height(), FVerticalBar->width(),
                       FHorizontalBar->height());
    FHorizontalBar->setMaximum(area.HorizontalMax);
    FHorizontalBar->setPageStep(area.HorizontalPage);
    FHorizontalBar->setVisible(area.HorizontalShown);
    FVerticalBar->setMaximum(area.VerticalMax);
    FVerticalBar->setPageStep(area.VerticalPage);
    FVerticalBar->setEnabled(area.VerticalEnabled);

    // The viewport and the bars sit inside the 1-pixel bevel.
    const int inset = FHolder->frameWidth();
    const int innerWidth = area.ViewportWidth - 2 * inset;
    const int innerHeight = area.ViewportHeight - 2 * inset;
    FViewport->setGeometry(inset, inset, innerWidth, innerHeight);
    FVerticalBar->setGeometry(area.ViewportWidth - inset, inset, FVerticalBar->width(), innerHeight);
    if (area.HorizontalShown)
        FHorizontalBar->setGeometry(inset, area.ViewportHeight - inset, innerWidth, FHorizontalBar->height());
    // The form panel's background fills the viewport whatever the window size and scroll position.
    const QSize screen = QGuiApplication::primaryScreen() != nullptr
                             ? QGuiApplication::primaryScreen()->size()
                             : QSize(1024, 768);
    FFormPanel->resize(screen.width() + FFormRight + 25, screen.height() + FFormBottom + 25);
}

void TRecordForm::ScrollVertically(int position) {
    FFormPanel->move(FFormPanel->x(), -position);
    FFormPanel->setFocus();
}

void TRecordForm::ScrollHorizontally(int position) {
    FFormPanel->move(-position, FFormPanel->y());
    FFormPanel->setFocus();
}
