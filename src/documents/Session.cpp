#include "documents/Session.h"

#include "files/AssemblyFile.h"
#include "files/OfferFile.h"
#include "files/PostCalcFile.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <QDir>
#include <QFileInfo>

namespace kalkora::documents {

Session::Session()
    : recent(QStringLiteral("recentOrders"), maxRecentOrders)
    , master(edits)
    , orderDocument(edits, recent)
{
}

QString Session::whyNoOrderOpens() const
{
    return master.hasMachines() ? QString() : files::noMachinesMessage();
}

QString Session::masterDataForOrder() const
{
    return master.hasMachines() ? QString() : master.rememberedFile();
}

bool Session::isOpenOrder(const QString& orderFile) const
{
    return orderDocument.isOpen()
        && (orderFile.isEmpty()
            || (!orderDocument.path().isEmpty() && QFileInfo(orderDocument.path()) == QFileInfo(orderFile)));
}

StartFiles Session::sortStartFiles(const QStringList& paths) const
{
    StartFiles start;
    QStringList quoteFiles;
    QStringList postCalcFiles;
    for (const QString& path : paths) {
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == QLatin1String("sta")) {
            start.masterData << path;
        } else if (suffix == QLatin1String("auf")) {
            start.orders << path;
        } else if (suffix == QLatin1String("ang")) {
            quoteFiles << path;
        } else if (suffix == QLatin1String("bgr")) {
            start.assemblies << path;
        } else if (suffix == QLatin1String("nak")) {
            postCalcFiles << path;
        } else {
            start.messages << QStringLiteral("Die Datei „%1“ ist weder eine Stammdatendatei (.sta) noch ein Auftrag "
                                             "(.auf) noch eine Baugruppe (.bgr) noch ein Angebot (.ang) noch eine "
                                             "Nachkalkulation (.nak).")
                                  .arg(QFileInfo(path).fileName());
        }
    }
    for (const QString& path : start.assemblies) {
        Assembly assembly;
        if (start.masterData.isEmpty() && files::loadAssembly(path, assembly).ok() && !assembly.masterFile.empty())
            start.masterData << files::namedMasterData(assembly, path);
    }
    // A quote brings the master data and the order it was priced from, a post-calculation those it
    // compares with; a file either names that is gone is said.
    const auto bring
        = [&start](const QString& path, const QString& gone, const QString& masterFile, const QString& orderFile) {
              for (const QString& file : { masterFile, orderFile }) {
                  if (!file.isEmpty() && !QFileInfo::exists(file))
                      start.messages << gone.arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(file));
              }
              if (QFileInfo::exists(masterFile))
                  start.masterData << masterFile;
              if (QFileInfo::exists(orderFile)) {
                  // A quote of an assembly names the assembly where an order would stand.
                  (files::isAssemblyFile(orderFile) ? start.assemblies : start.orders) << orderFile;
              }
          };
    for (const QString& path : quoteFiles) {
        files::Offer offer;
        if (const files::FileResult result = files::loadOffer(path, offer); !result.ok()) {
            start.messages << result.message;
            continue;
        }
        start.quotes.emplace_back(path, offer.orderFile);
        bring(path, QStringLiteral("Das Angebot „%1“ wurde aus „%2“ berechnet; diese Datei gibt es nicht mehr."),
            offer.masterFile, offer.orderFile);
    }
    for (const QString& path : postCalcFiles) {
        files::PostCalculation postCalc;
        // Its actuals are read once, by its window.
        if (const files::FileResult result
            = files::loadPostCalc(path, postCalc, files::PostCalcReading::WithoutActuals);
            !result.ok()) {
            start.messages << result.message;
            continue;
        }
        start.postCalcs << path;
        bring(path, QStringLiteral("Die Nachkalkulation „%1“ vergleicht mit „%2“; diese Datei gibt es nicht mehr."),
            postCalc.masterFile, postCalc.orderFile);
    }
    return start;
}

QuoteDataFiles Session::quoteDataFiles() const
{
    const QString orderFile = orderDocument.path();
    return { orderFile.isEmpty() ? QString() : QFileInfo(orderFile).absoluteFilePath(), master.rememberedFile() };
}

files::RecoveryData Session::recoveryState(const COrder& shownOrder) const
{
    files::RecoveryData state;
    state.masterDataBytes = encodeMasterData(master.data());
    state.masterDataFileName = master.rememberedFile();
    state.masterDataChanged = master.isChanged();
    state.masterDataSeen = master.seenFile();
    state.orderOpen = orderDocument.isOpen();
    if (state.orderOpen) {
        state.orderBytes = encodeOrder(shownOrder);
        // A file named relative to the folder the program was started in.
        state.orderFileName
            = orderDocument.path().isEmpty() ? QString() : QFileInfo(orderDocument.path()).absoluteFilePath();
        state.orderChanged = orderDocument.isChanged() || state.orderBytes != encodeOrder(orderDocument.data());
        state.orderSeen = orderDocument.seenFile();
    }
    return state;
}

bool Session::restore(const files::RecoveryData& data)
{
    COrder restoredOrder;
    CPlantData check;
    if ((data.orderOpen && !decodeOrder(data.orderBytes, 1.0f, restoredOrder).ok())
        || !decodeMasterData(data.masterDataBytes, 1.0f, check).ok()) {
        return false;
    }
    // The steps of the run that ended are gone; what it had not saved stays unsaved.
    edits.clear();
    // Restored documents hold their files again, read-only where another has them open now.
    master.restore(data.masterDataBytes, data.masterDataFileName, data.masterDataChanged, data.masterDataSeen);
    if (data.orderOpen) {
        orderDocument.restore(std::move(restoredOrder), data.orderFileName, data.orderChanged, data.orderSeen);
    }
    return true;
}

} // namespace kalkora::documents
