#pragma once

#include "documents/EditHistory.h"
#include "documents/OrderCommands.h"
#include "documents/PostCalcDocument.h"
#include "documents/Session.h"
#include "model/CPlantData.h"
#include "ui/analysis/AnalysisPanel.h"
#include "ui/analysis/OrderWindow.h"
#include "ui/common/FilePrompts.h"

#include <functional>
#include <memory>

class QAction;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTableView;

namespace kalkora::ui {

using documents::QuoteDataFiles;

class CActualsModel;
struct ShownPostCalc;

// The post-calculation of the main window's order ("Nachkalkulation"): the quantities produced
// and good, the date, the quote and a remark in fields; below them the operations with the
// plan's times, utilisation, material, bought-in price and lots beside the values measured, which
// are typed there; then the plan against the actual per operation, for the order, per good piece
// and against the quote, recomputed after every change and whenever the order changes. A
// deviation is shown by an arrow and its sign as well as in bold. A value that cannot be used is
// refused with its field named, and nothing of it is kept.
//
// The post-calculation is a file of its own (.nak) with its lock and undo steps; "Ist-Werte in den
// Auftrag übernehmen" makes the measured times, utilisation and material the order's plan as one
// step of the main window, which undo there takes back.
//
// Object names for tests: "postCalcDlg", the fields "produced", "good", "date", "quoteFile",
// "remark", the tables "actuals" and "table", "errorLine", "quoteLine", "statusLine", the
// commands "actionOpen", "actionSave", "actionSaveAs", "actionExport", "actionPrint",
// "actionClose", "actionUndo", "actionRedo", "actionTakeOver", the buttons "buttonChooseQuote"
// and "buttonTakeOver".
class CPostCalcDlg : public COrderWindow {
    Q_OBJECT

public:
    // Makes the measured values the order's plan as one step.
    using OrderEditor = std::function<void(documents::ReplaceOperationsCommand::Replacements)>;

    CPostCalcDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent = nullptr);
    ~CPostCalcDlg() override;

    documents::PostCalcDocument& document() { return postCalc; }
    const documents::PostCalcDocument& document() const { return postCalc; }
    CAnalysisPanel* panel() const { return tablePanel; }
    QTableView* actualsTable() const { return actualsView; }
    void setDataFiles(std::function<QuoteDataFiles()> currentFiles) { dataFiles = std::move(currentFiles); }
    void setOrderEditor(OrderEditor editor) { orderEditor = std::move(editor); }
    // How "&Öffnen..." opens a post-calculation with the order and master data it names; without
    // one, it opens here on the current order.
    void setPostCalcOpener(std::function<void(const QString&)> opener) { postCalcOpener = std::move(opener); }

    // Starts a new post-calculation of the current order.
    void restart();
    // Opens `path` here; a file that cannot be read is named in a message and changes nothing.
    bool openPostCalcFile(const QString& path);
    bool mayClose() override;
    bool isChanged() const override { return postCalc.isChanged(); }

public slots:
    void OnOrderChanged() override { recompute(); }
    void OnOpen();
    bool OnSave();
    bool OnSaveAs();
    void OnChooseQuote();
    void OnTakeOver();
    void reject() override;

private:
    void createMenus();
    void createFields();
    void createActualsTable();
    QLineEdit* addField(
        QGridLayout* grid, const char* name, const QString& label, const QString& tip, int row, int column);
    // Puts what the fields hold into the document, each a step; a field that cannot be read is
    // marked and named, and nothing of it is kept.
    void readFields();
    void readQuantities();
    void readDate();
    void typedActual(std::int32_t operation, ActualFieldIndex field, const QString& typed);
    void showDocument();
    void recompute();
    void showResult(PostCalcResult result);
    void showQuoteLine(const PostCalcResult& result);
    void showError(QLineEdit* field, const QString& message);
    void clearError();
    void updateCommands();
    bool saveTo(const QString& path);

    const CPlantData& plantData;
    OrderSnapshot currentOrder;
    std::function<QuoteDataFiles()> dataFiles;
    OrderEditor orderEditor;
    std::function<void(const QString&)> postCalcOpener;
    documents::EditHistory history;
    documents::PostCalcDocument postCalc;
    FilePrompts prompts;
    bool showing = false; // fields are being filled by the program, not typed
    std::shared_ptr<const ShownPostCalc> shown;
    COrder shownOrder; // as last computed; the measured values are typed against it

    CAnalysisPanel* tablePanel = nullptr;
    QLineEdit* producedField = nullptr;
    QLineEdit* goodField = nullptr;
    QLineEdit* dateField = nullptr;
    QLineEdit* quoteFileField = nullptr;
    QLineEdit* remarkField = nullptr;
    QLabel* errorLine = nullptr;
    QLabel* quoteLine = nullptr;
    QLabel* statusLine = nullptr;
    QTableView* actualsView = nullptr;
    CActualsModel* actualsModel = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
};

} // namespace kalkora::ui
