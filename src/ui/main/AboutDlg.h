#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kalkora::ui {

// The about box: the logo, the version line and what the program is for. OK, Escape and the
// close box close it.
//
// Object names for tests: "logoPicture", "aboutText", "button1" (OK).
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The lines of the text below the logo, joined with line breaks.
    static QString aboutText();

private:
    QLabel* logoPicture = nullptr;
    QLabel* aboutLabel = nullptr;
    QPushButton* okButton = nullptr;
};

} // namespace kalkora::ui
