#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's icon, name and version, the Qt version it runs on, and the home
// page address as a link. Made once and reset each time it is shown.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // "Version 1.1.1" for the version of this build.
    static QString VersionText();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LabelWebSiteClick();

    QLabel* ImageIcon;
    QLabel* LabelProductName;
    QLabel* LabelVersion;
    QLabel* LabelQtVersion;
    QLabel* LabelWebSiteCaption;
    QLabel* LabelWebSite;
    QPushButton* BtnOK;
};
