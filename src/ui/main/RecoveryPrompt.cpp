#include "ui/main/RecoveryPrompt.h"

#include "ui/common/UiServices.h"
#include "ui/main/MainDlg.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace kalkora::ui {

RecoveryPrompt::RecoveryPrompt(CMainDlg& mainDlg, const QString& folder)
    : mainDlg(mainDlg)
    , recovery(
          [&mainDlg] {
              files::RecoveryData state = mainDlg.session().recoveryState(mainDlg.panel().orderWithPendingField());
              state.assemblies = mainDlg.assemblyRecovery();
              state.postCalcs = mainDlg.postCalcRecovery();
              return state;
          },
          folder)
{
    for (const auto changed : { &CMainDlg::documentsChanged, &CMainDlg::assembliesChanged, &CMainDlg::postCalcChanged })
        QObject::connect(&mainDlg, changed, &recovery, &documents::CrashRecovery::schedule);
    QObject::connect(&recovery, &documents::CrashRecovery::problem, &mainDlg,
        [&mainDlg](const QString& message) { uiServices().showMessage(&mainDlg, message); });
    // What is being typed in the order panel counts before its field is left.
    for (auto* field : mainDlg.panel().findChildren<QLineEdit*>()) {
        QObject::connect(field, &QLineEdit::textEdited, &recovery, &documents::CrashRecovery::schedule);
    }
    for (auto* field : mainDlg.panel().findChildren<QPlainTextEdit*>()) {
        QObject::connect(field, &QPlainTextEdit::textChanged, &recovery, &documents::CrashRecovery::schedule);
    }
}

void RecoveryPrompt::offerRestore()
{
    for (const documents::CrashRecovery::Offer& offer : recovery.offers()) {
        if (uiServices().askYesNo(&mainDlg, offer.question()) && mainDlg.session().restore(offer.data)) {
            mainDlg.restoreAssemblies(offer.data.assemblies);
            mainDlg.restorePostCalcs(offer.data.postCalcs);
            recovery.restored(offer);
            return;
        }
    }
}

} // namespace kalkora::ui
