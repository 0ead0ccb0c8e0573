// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class TCategory;
class TRecord;

// The record form: the strip with Save and Cancel above a form built from a category's template,
// scrolled by its own bars. It shows one record's values and holds whether they were edited.
class TRecordForm : public QWidget {
    Q_OBJECT

public:
    explicit TRecordForm(QWidget* parent = nullptr);

    // Builds the form of category's template (an empty form for nullptr).
    void Build(const TCategory* category);
    void Clear();
    // Shows record's values; loading is no edit.
    void Load(const TCategory& category, const TRecord& record);
    // Writes every edited box into record; boxes whose text is as loaded keep their stored bytes.
    void SaveInto(const TCategory& category, TRecord& record);

    // Edited since the last load or save: the Save and Cancel buttons show exactly then.
    bool Modified() const { return FModified; }
    void SetModified(bool modified);
    // The strip's text while no record is shown.
    void ShowNoRecord(bool noRecord);
    void FocusFirstBox();
    // The boxes in tab order (reading order of their places).
    std::vector<QWidget*> BoxesInTabOrder() const;
    // The panel the form's controls are children of, for printing what it shows.
    const QWidget& FormPanel() const { return *FFormPanel; }

signals:
    void ModifiedChanged(bool modified);
    void SaveRequested();
    void CancelRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOutScrollArea();
    void ScrollVertically(int position);
    // Scrolls the form without taking the focus from the box being edited.
    void ScrollQuietly(int x, int y);
    // Scrolls so that a box that took the focus is in view.
    void EnsureVisible(const QWidget* control);
    void ScrollHorizontally(int position);
    void SetFormColor(const QColor& color);
    void AssignTabOrder();
    void BoxEdited();

    // A box with the text it showed when the record was loaded.
    struct TBox {
        QWidget* Control;
        QString Loaded;
    };
    std::vector<TBox> FBoxes;
    bool FModified = false;
    int32_t FFormRight = 0;
    int32_t FFormBottom = 0;

    QLabel* FStripLabel;
    QPushButton* FSaveButton;
    QPushButton* FCancelButton;
    QFrame* FHolder;
    QWidget* FViewport;
    QWidget* FFormPanel;
    QScrollBar* FVerticalBar;
    QScrollBar* FHorizontalBar;
};
