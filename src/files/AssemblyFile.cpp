#include "files/AssemblyFile.h"

#include "costing/JsonWriter.h"
#include "files/JsonReader.h"
#include "files/StoredPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <cmath>
#include <map>

namespace kalkora::files {

namespace {

constexpr const char* kKind = "kalkora-baugruppe";
constexpr int kVersion = 1;

struct KindName {
    ComponentKind kind;
    const char* key;
};
constexpr KindName kKinds[] = { { ComponentKind::Order, "order" }, { ComponentKind::Assembly, "assembly" },
    { ComponentKind::Bought, "bought" } };

const char* keyOf(ComponentKind kind)
{
    for (const KindName& name : kKinds)
        if (name.kind == kind)
            return name.key;
    return "";
}

QString utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

std::vector<PriceBreak> readPrices(JsonReader& reader)
{
    std::vector<PriceBreak> prices;
    reader.readArray("prices", [&](JsonReader& item) {
        PriceBreak& priceBreak = prices.emplace_back();
        if (item.present("from"))
            priceBreak.from = item.quantity("from");
        if (item.present("price"))
            priceBreak.price = item.scaled("price", 4, 0, kMaxBoughtPrice);
        item.allowOnly({ "from", "price" });
    });
    if (reader.failed())
        return prices;
    if (prices.empty())
        reader.fail(QStringLiteral("prices"), QStringLiteral("mindestens eine Preisstaffel erwartet"));
    else if (prices.front().from != 1)
        reader.fail(QStringLiteral("prices[0].from"), QStringLiteral("die erste Staffel gilt ab 1 Stück"));
    for (std::size_t i = 1; i < prices.size(); ++i) {
        if (prices[i].from <= prices[i - 1].from)
            reader.fail(
                QStringLiteral("prices[%1].from").arg(i), QStringLiteral("größer als die Staffel davor erwartet"));
    }
    return prices;
}

Component readComponent(JsonReader& reader)
{
    Component component;
    if (reader.present("kind")) {
        const QString kind = reader.text("kind");
        const auto known = std::find_if(std::begin(kKinds), std::end(kKinds),
            [&](const KindName& name) { return kind == QLatin1String(name.key); });
        if (known == std::end(kKinds))
            reader.fail(QStringLiteral("kind"), QStringLiteral("„order“, „assembly“ oder „bought“ erwartet"));
        else
            component.kind = known->kind;
    }
    if (reader.present("count"))
        component.count = std::int32_t(reader.wholeNumber("count", 1, kMaxComponentCount));
    if (component.kind == ComponentKind::Bought) {
        component.name = reader.text("name").toStdString();
        if (reader.present("prices"))
            component.prices = readPrices(reader);
        reader.allowOnly({ "kind", "count", "name", "prices" });
    } else {
        if (reader.present("file"))
            component.file = reader.text("file").toStdString();
        if (!reader.failed() && component.file.empty())
            reader.fail(QStringLiteral("file"), QStringLiteral("ein Dateiname erwartet"));
        reader.allowOnly({ "kind", "count", "file" });
    }
    return component;
}

void readAssembly(JsonReader& reader, Assembly& assembly)
{
    if (reader.present("kind") && reader.text("kind") != QLatin1String(kKind))
        reader.fail(QStringLiteral("kind"), QStringLiteral("„%1“ erwartet").arg(QLatin1String(kKind)));
    if (reader.present("version") && reader.value("version") != QJsonValue(kVersion))
        reader.fail(QStringLiteral("version"), QStringLiteral("unbekannte Version"));
    assembly.name = reader.text("name").toStdString();
    assembly.remark = reader.text("remark").toStdString();
    if (!reader.value("quantityBase").isUndefined())
        assembly.quantityBase = reader.quantity("quantityBase");
    assembly.masterFile = reader.text("masterFile").toStdString();
    assembly.ownOrder = reader.text("ownOrder").toStdString();
    reader.allowOnly({ "kind", "version", "name", "remark", "quantityBase", "masterFile", "ownOrder", "components" });
}

} // namespace

bool isAssemblyJson(const QByteArray& json)
{
    const QJsonDocument document = parseJson(json);
    return document.isObject() && document.object().value(QLatin1String("kind")) == QLatin1String(kKind);
}

bool isAssemblyFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isAssemblyJson(file.readAll());
}

QByteArray assemblyToJson(const Assembly& assembly)
{
    JsonWriter json;
    json.beginObject();
    json.utf8Text("kind", kKind);
    json.number("version", kVersion);
    json.utf8Text("name", assembly.name);
    json.utf8Text("remark", assembly.remark);
    json.number("quantityBase", assembly.quantityBase);
    json.utf8Text("masterFile", assembly.masterFile);
    json.utf8Text("ownOrder", assembly.ownOrder);
    json.beginArray("components");
    for (const Component& component : assembly.components) {
        json.beginObject();
        json.utf8Text("kind", keyOf(component.kind));
        if (component.kind == ComponentKind::Bought)
            json.utf8Text("name", component.name);
        else
            json.utf8Text("file", component.file);
        json.number("count", component.count);
        if (component.kind == ComponentKind::Bought) {
            json.beginArray("prices");
            for (const PriceBreak& priceBreak : component.prices) {
                json.beginObject();
                json.number("from", priceBreak.from);
                json.literal("price", formatPrice(priceBreak.price, '.'));
                json.endObject();
            }
            json.endArray();
        }
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return QByteArray::fromStdString(json.take());
}

std::optional<QString> assemblyFromJson(const QByteArray& json, Assembly& assembly, const QString& position)
{
    const DocumentObject document = documentObject(json);
    if (document.error)
        return document.error;
    std::optional<QString> error;
    Assembly read;
    JsonReader reader(document.object, QString(), error, kDocumentWording);
    readAssembly(reader, read);
    const QJsonValue components = reader.value("components");
    if (!error && !components.isUndefined() && !components.isArray())
        reader.fail(QStringLiteral("components"), QString::fromUtf8(kDocumentWording.list));
    const QJsonArray items = components.toArray();
    read.components.reserve(std::size_t(items.size()));
    // The position is spelled only for a message: a large assembly is read without it.
    const auto place = [&](qsizetype i) { return QStringLiteral("Komponente %1%2: ").arg(position).arg(i + 1); };
    for (qsizetype i = 0; i < items.size() && !error; ++i) {
        if (!items[i].isObject())
            return place(i) + QString::fromUtf8(kDocumentWording.object);
        std::optional<QString> componentError;
        JsonReader componentReader(items[i].toObject(), QString(), componentError, kDocumentWording);
        read.components.push_back(readComponent(componentReader));
        if (componentError)
            return place(i) + *componentError;
    }
    if (!error)
        assembly = std::move(read);
    return error;
}

QString namedMasterData(const Assembly& assembly, const QString& path)
{
    return resolvedPath(utf8(assembly.masterFile), QFileInfo(path).absolutePath());
}

FileResult loadAssembly(const QString& path, Assembly& assembly, const QString& position)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return { FileStatus::CannotOpen, cannotOpenMessage(path, file.errorString()) };
    if (const auto error = assemblyFromJson(file.readAll(), assembly, position)) {
        return { FileStatus::Damaged,
            QStringLiteral("Die Datei „%1“ ist keine lesbare Baugruppe: %2.").arg(QFileInfo(path).fileName(), *error) };
    }
    return {};
}

FileResult saveAssembly(const QString& path, const Assembly& assembly)
{
    const QByteArray json = assemblyToJson(assembly);
    return saveBytes(path, std::string_view(json.constData(), std::size_t(json.size())));
}

namespace {

// Reads each file of the tree once; an assembly on the way to itself is refused.
class TreeLoader {
public:
    TreeLoader(AssemblyTree& tree, float orderFactor, const std::function<void()>& beforeFirstOrder)
        : tree(tree)
        , orderFactor(orderFactor)
        , beforeFirstOrder(beforeFirstOrder)
    {
    }

    TreeResult result;

    const TreeAssembly* assembly(const QString& path, const QString& position)
    {
        if (const auto known = assemblies.find(path); known != assemblies.end())
            return known->second;
        if (std::find(chain.begin(), chain.end(), path) != chain.end()) {
            QStringList names;
            for (const QString& link : chain)
                names.append(QFileInfo(link).fileName());
            names.append(QFileInfo(path).fileName());
            fail(FileStatus::Damaged, position,
                QStringLiteral("Die Baugruppe enthält sich selbst: %1.").arg(names.join(QStringLiteral(" → "))));
            result.cycle = true;
            return nullptr;
        }
        Assembly read;
        if (const FileResult loaded = loadAssembly(path, read, position.isEmpty() ? position : position + u'.');
            !loaded.ok()) {
            fail(loaded.status, position, loaded.message);
            return nullptr;
        }
        return assembly(std::move(read), path, position);
    }

    // `read` as the file `path`, with the files it names.
    const TreeAssembly* assembly(Assembly read, const QString& path, const QString& position)
    {
        chain.push_back(path);
        TreeAssembly node { std::move(read), QFileInfo(path).fileName().toStdString(), {}, {}, nullptr };
        const QString folder = QFileInfo(path).absolutePath();
        const QString prefix = position.isEmpty() ? position : position + u'.';
        for (std::size_t i = 0; i < node.assembly.components.size() && result.ok(); ++i) {
            const Component& component = node.assembly.components[i];
            const QString place = prefix + QString::number(i + 1);
            const QString file = resolvedPath(utf8(component.file), folder);
            node.orders.push_back(component.kind == ComponentKind::Order ? order(file, place) : nullptr);
            node.assemblies.push_back(component.kind == ComponentKind::Assembly ? assembly(file, place) : nullptr);
        }
        if (result.ok() && !node.assembly.ownOrder.empty())
            node.ownOrder = order(resolvedPath(utf8(node.assembly.ownOrder), folder), prefix + u'0');
        chain.pop_back();
        if (!result.ok())
            return nullptr;
        const TreeAssembly* loaded = &tree.assemblies.emplace_back(std::move(node));
        assemblies.emplace(path, loaded);
        tree.files.push_back(path.toStdString());
        return loaded;
    }

private:
    const TreeOrder* order(const QString& path, const QString& position)
    {
        if (const auto known = orders.find(path); known != orders.end())
            return known->second;
        if (orders.empty() && beforeFirstOrder)
            beforeFirstOrder();
        TreeOrder node { {}, QFileInfo(path).fileName().toStdString(), path.toStdString() };
        if (const FileResult loaded = loadOrder(path, orderFactor, node.order); !loaded.ok()) {
            fail(loaded.status, position, loaded.message);
            return nullptr;
        }
        const TreeOrder* loaded = &tree.orders.emplace_back(std::move(node));
        orders.emplace(path, loaded);
        tree.files.push_back(loaded->path);
        return loaded;
    }

    void fail(FileStatus status, const QString& position, const QString& message)
    {
        if (!result.ok())
            return;
        result.status = status;
        result.message = position.isEmpty() ? message : QStringLiteral("Position %1: %2").arg(position, message);
        result.position = position;
    }

    AssemblyTree& tree;
    float orderFactor;
    const std::function<void()>& beforeFirstOrder;
    std::map<QString, const TreeOrder*> orders;
    std::map<QString, const TreeAssembly*> assemblies;
    std::vector<QString> chain;
};

} // namespace

namespace {

template <typename ReadRoot>
TreeResult loadTree(
    AssemblyTree& tree, float orderFactor, const std::function<void()>& beforeFirstOrder, const ReadRoot& readRoot)
{
    AssemblyTree loaded;
    TreeLoader loader(loaded, orderFactor, beforeFirstOrder);
    loaded.root = readRoot(loader);
    if (!loader.result.ok())
        return loader.result;
    tree = std::move(loaded);
    return {};
}

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

TreeResult loadAssemblyTree(
    const QString& path, float orderFactor, AssemblyTree& tree, const std::function<void()>& beforeFirstOrder)
{
    return loadTree(tree, orderFactor, beforeFirstOrder,
        [&](TreeLoader& loader) { return loader.assembly(cleanAbsolute(path), QString()); });
}

TreeResult loadAssemblyTree(const Assembly& root, const QString& path, float orderFactor, AssemblyTree& tree,
    const std::function<void()>& beforeFirstOrder)
{
    return loadTree(tree, orderFactor, beforeFirstOrder,
        [&](TreeLoader& loader) { return loader.assembly(root, cleanAbsolute(path), QString()); });
}

} // namespace kalkora::files
