#pragma once

#include "ui/common/UiServices.h"

class QFileDialog;

namespace kalkora::ui {

// UiServices on QMessageBox, QFileDialog and QPrintDialog, with German button texts set
// explicitly so they are right even where Qt's German translation is missing.
class QtUiServices : public UiServices {
public:
    void showMessage(QWidget* parent, const QString& text, MessageIcon icon) override;
    bool askYesNo(QWidget* parent, const QString& text, MessageIcon icon) override;
    Answer askYesNoCancel(QWidget* parent, const QString& text, MessageIcon icon) override;
    QString getOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString getSaveFileName(QWidget* parent, const FileDialogRequest& request) override;
    bool runPrintDialog(QWidget* parent, QPrinter& printer) override;
    void showPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint) override;
};

// The filter as QFileDialog takes it: the label, which shows in the dialog, followed by the
// patterns in parentheses, unless the label already ends with them.
QString qtNameFilter(const FileDialogRequest& request);

// Makes `dialog` Qt's own file dialog in German whatever the environment's locale: sizes and
// dates in German ("1,50 KiB", "07.12.26 23:19"), and columns as
// wide as their texts.
void useGermanFileDialog(QFileDialog& dialog);

} // namespace kalkora::ui
