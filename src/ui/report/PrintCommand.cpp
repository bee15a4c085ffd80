#include "ui/report/PrintCommand.h"

#include "print/ReportPrinting.h"
#include "ui/common/UiServices.h"

#include <QApplication>
#include <QPrinter>

namespace kalkora::ui {

namespace {

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void printReportWithDialog(QWidget* parent, const std::string& reportText)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!uiServices().runPrintDialog(parent, printer)) {
        return;
    }
    int pages = 0;
    {
        const WaitCursor waitCursor;
        pages = report::printReport(reportText, printer);
    }
    // Only a document that could not even be started is known to have failed; what the
    // spooler does with a started one is out of sight.
    const char* message = pages > 0 ? printDoneMessage : printFailedMessage;
    uiServices().showMessage(parent, QString::fromUtf8(message), MessageIcon::Exclamation);
}

} // namespace kalkora::ui
