#include "documents/OrderDocument.h"

namespace kalkora::documents {

OrderDocument::OrderDocument(EditHistory& history, RecentFiles& recentOrders)
    : FileDocument(history, EditedData::Order,
        { QStringLiteral("Auftragsdaten"), QStringLiteral("auf"),
            QStringLiteral("Der Auftrag wurde geändert. Sollen die Änderungen gespeichert werden?") },
        QStringLiteral("folders/order"))
    , recentOrders(recentOrders)
{
}

QString OrderDocument::title() const
{
    if (path().isEmpty()) {
        return QStringLiteral("Kalkora[*]");
    }
    return titleNaming(QString());
}

void OrderDocument::startNew()
{
    clear(true);
}

void OrderDocument::close()
{
    clear(false);
}

void OrderDocument::clear(bool open)
{
    order.clear();
    startHistory(false);
    releaseFile();
    openNow = open;
    emit replaced();
}

files::FileResult OrderDocument::open(
    const QString& file, float factor, OpenFileGuard claimed, const Progress& progress)
{
    files::FileResult result = files::loadOrder(file, factor, order, progress);
    if (!result.ok()) {
        return result;
    }
    opened(file, std::move(claimed));
    openNow = true;
    // A converted DM order exists only in memory until it is saved; reopening the DM file from
    // the list of recent orders would read its amounts as EUR.
    startHistory(factor != 1.0f);
    if (factor == 1.0f) {
        recentOrders.remember(file);
    }
    emit replaced();
    return result;
}

files::FileResult OrderDocument::save(const QString& file, const Progress& progress)
{
    files::FileResult result = files::saveOrder(file, order, progress);
    if (!result.ok()) {
        setPath(QString());
        return result;
    }
    written(file);
    recentOrders.remember(file);
    return result;
}

void OrderDocument::restore(
    COrder restored, const QString& file, bool changed, const std::optional<files::SeenFile>& seen)
{
    order = std::move(restored);
    reclaim(seen);
    setPath(file);
    openNow = true;
    startHistory(changed);
    emit replaced();
}

} // namespace kalkora::documents
