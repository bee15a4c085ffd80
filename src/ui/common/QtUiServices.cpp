#include "ui/common/QtUiServices.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTreeView>

namespace kalkora::ui {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        break;
    }
    return QMessageBox::Warning;
}

// The program's texts use CR LF; a label wants plain line feeds. A short question of one line
// is kept on one line: the box would otherwise wrap it at half the screen width and leave a
// lone " !" or "?" on a line of its own.
QString toLabelText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    constexpr qsizetype oneLineLimit = 100;
    if (!text.contains(QLatin1Char('\n')) && text.size() <= oneLineLimit) {
        text.replace(QLatin1Char(' '), QChar::Nbsp);
    }
    return text;
}

} // namespace

QString qtNameFilter(const FileDialogRequest& request)
{
    const QString label = request.filterLabel.trimmed();
    const QString patterns = QStringLiteral("(") + request.filterPattern + QLatin1Char(')');
    return label.endsWith(patterns) ? label : label + QLatin1Char(' ') + patterns;
}

namespace {

// Qt's file system model writes sizes and dates in the system's locale, which may be English
// in a German program; these two columns are written again in German.
class GermanFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        enum { Size = 1, Modified = 3 };
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex source = mapToSource(index);
        if (role == Qt::DisplayRole && files && index.column() == Size && !files->isDir(source)) {
            return german.formattedDataSize(files->size(source));
        }
        if (role == Qt::DisplayRole && files && index.column() == Modified) {
            return german.toString(files->lastModified(source), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    const QLocale german { QLocale::German, QLocale::Germany };
};

} // namespace

void useGermanFileDialog(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new GermanFileColumns(&dialog));
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
}

namespace {

QString runFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    useGermanFileDialog(dialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(qtNameFilter(request));
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    if (!request.folder.isEmpty()) {
        dialog.setDirectory(request.folder);
    }
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

void QtUiServices::showMessage(QWidget* parent, const QString& text, MessageIcon icon)
{
    QMessageBox box(toQtIcon(icon), applicationTitle(), toLabelText(text), QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

bool QtUiServices::askYesNo(QWidget* parent, const QString& text, MessageIcon icon)
{
    QMessageBox box(toQtIcon(icon), applicationTitle(), toLabelText(text), QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

Answer QtUiServices::askYesNoCancel(QWidget* parent, const QString& text, MessageIcon icon)
{
    QMessageBox box(toQtIcon(icon), applicationTitle(), toLabelText(text),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Abbrechen"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtUiServices::getOpenFileName(QWidget* parent, const FileDialogRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtUiServices::getSaveFileName(QWidget* parent, const FileDialogRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

bool QtUiServices::runPrintDialog(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    // All pages only; the print-to-file entry stays, as it is often the only printer on Linux.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

void QtUiServices::showPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Kalkora - Vorschau"));
    // A page should be readable at once, not a stamp in a small window.
    if (parent)
        preview.resize(parent->window()->size());
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview, [&paint](QPrinter* pages) { paint(*pages); });
    preview.exec();
}

} // namespace kalkora::ui
