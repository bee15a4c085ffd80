#include "core/ExampleData.h"
#include "core/Golden.h"
#include "documents/OrderCommands.h"
#include "documents/Session.h"
#include "model/MasterDataFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kalkora::documents {
namespace {

using namespace kalkora::testing;

// Both kinds of data file live the same life: "werk.sta" as the master data, "welle.auf" as the
// order, each opened, changed, saved, locked and guarded against changes made by others.
class DocumentLifeTest : public ::testing::TestWithParam<EditedData> {
public:
    // Every life starts from the same files, with no lock held.
    void start()
    {
        QStandardPaths::setTestModeEnabled(true); // the settings of the tests, not the user's
        session.reset();
        for (const QString& lock :
            QDir(folder.path()).entryList({ QStringLiteral(".*.lock") }, QDir::Hidden | QDir::Files))
            QFile::remove(path(lock));
        ASSERT_TRUE(files::saveMasterData(path("werk.sta"), examplePlant()).ok());
        ASSERT_TRUE(files::saveOrder(path("welle.auf"), exampleOrder()).ok());
        ASSERT_TRUE(files::saveMasterData(path("andere.sta"), examplePlant({ "Presse" })).ok());
        ASSERT_TRUE(files::saveOrder(path("andere.auf"), COrder()).ok());
        session = std::make_unique<Session>();
    }

    bool isOrder() const { return GetParam() == EditedData::Order; }
    FileDocument& document()
    {
        return isOrder() ? static_cast<FileDocument&>(session->order()) : session->masterData();
    }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QString path(const QString& name) const { return folder.filePath(name); }
    // The file of the document's kind: "welle.auf" or "werk.sta", "andere.auf" or "andere.sta".
    QString file(const char* stem = nullptr) const
    {
        const QString name = stem ? QString::fromLatin1(stem)
            : isOrder()           ? QStringLiteral("welle")
                                  : QStringLiteral("werk");
        return path(name + (isOrder() ? QStringLiteral(".auf") : QStringLiteral(".sta")));
    }
    // A change as a step, as the windows make it.
    void change()
    {
        if (isOrder()) {
            session->history().push(std::make_unique<SetOrderFieldCommand<std::string>>(
                session->history(), session->order().data(), &COrder::name, std::string("Ge\xE4ndert")));
        } else {
            const std::string before = encodeMasterData(session->masterData().data());
            session->masterData().data().rentPerSqmYear = 60.5f;
            session->masterData().recordChange(QStringLiteral("Miete"), before);
        }
    }
    files::FileResult open(const QString& path) { return document().open(path, 1.0f, document().claim(path)); }
    QString lockOf(const QString& file) const
    {
        return path(QStringLiteral(".") + QFileInfo(file).fileName() + QStringLiteral(".lock"));
    }
    bool lockHeld(const QString& file) const
    {
        QLockFile probe(lockOf(file));
        probe.setStaleLockTime(0);
        return !probe.tryLock(0);
    }
    void writeLock(const QString& file, const QByteArray& content)
    {
        ASSERT_TRUE(files::saveBytes(lockOf(file), content.toStdString()).ok());
    }
    // The document as a line: its file, read-only, changed, the steps to undo, and whose locks
    // are held.
    void note(const char* what, const QString& message = QString())
    {
        const QString owner = QFileInfo(folder.path()).owner();
        record += QStringLiteral("%1: file=%2 readOnly=%3 changed=%4 steps=%5 locks=%6%7 %8\n")
                      .arg(QString::fromLatin1(what), QFileInfo(document().path()).fileName())
                      .arg(document().isReadOnly())
                      .arg(document().isChanged())
                      .arg(session->history().steps().count())
                      .arg(lockHeld(file()))
                      .arg(lockHeld(file("andere")))
                      .arg(QString(message)
                               .replace(folder.path(), QStringLiteral("ORDNER"))
                               .replace(QStringLiteral(" von %1 auf ").arg(owner), QStringLiteral(" von NUTZER auf ")))
                      .toStdString();
    }

    QTemporaryDir folder;
    std::unique_ptr<Session> session;
    std::string record;
};

// Each row is a user's way through a document's life; the transcript holds what it left behind.
const std::pair<const char*, std::function<void(DocumentLifeTest&)>> lives[] = {
    { "open, change, save, open another",
        [](DocumentLifeTest& t) {
            t.note("open", t.open(t.file()).message);
            t.change();
            t.note("changed");
            t.note("save", t.document().save(t.file()).message);
            t.note("open another", t.open(t.file("andere")).message);
        } },
    { "held on another machine: read-only, saved under another name",
        [](DocumentLifeTest& t) {
            t.writeLock(t.file(), "4242\nkalkora\nwerkstatt-pc\n");
            OpenFileGuard claimed = t.document().claim(t.file());
            t.note("claim", claimed.readOnlyQuestion());
            t.document().open(t.file(), 1.0f, std::move(claimed));
            t.note("opened read-only", t.document().checkWrite(t.file()).message);
            t.note("save as", t.document().save(t.file("andere")).message);
        } },
    { "a lock of a process that is gone, and a damaged one, are taken over",
        [](DocumentLifeTest& t) {
            t.writeLock(t.file(), "2147483647\nkalkora\n" + QSysInfo::machineHostName().toUtf8() + '\n');
            t.writeLock(t.file("andere"), "kalkora\n");
            t.note("stale", t.document().claim(t.file()).readOnlyQuestion());
            t.note("damaged", t.document().claim(t.file("andere")).readOnlyQuestion());
        } },
    { "changed on disk since opened: asked before it is overwritten",
        [](DocumentLifeTest& t) {
            t.open(t.file());
            QFile disk(t.file());
            const QDateTime modified = QFileInfo(disk).lastModified();
            ASSERT_TRUE(disk.open(QIODevice::ReadWrite));
            const QByteArray other = disk.readAll().replace("Drehen", "Dreher").replace("Drehmaschine", "Drehmaschinf");
            ASSERT_TRUE(disk.seek(0) && disk.write(other) == other.size() && disk.flush());
            ASSERT_TRUE(disk.setFileTime(modified, QFileDevice::FileModificationTime));
            disk.close();
            t.note("same size and time", t.document().checkWrite(t.file()).message);
            t.note("another file", t.document().checkWrite(t.file("andere")).message);
            t.document().save(t.file());
            t.note("after saving", t.document().checkWrite(t.file()).message);
        } },
    { "a crash: what was not saved comes back, holding its file again",
        [](DocumentLifeTest& t) {
            t.open(t.file());
            t.change();
            const files::RecoveryData snapshot = t.session->recoveryState(t.session->order().data());
            t.session->masterData().rememberFile(QString());
            t.session = std::make_unique<Session>();
            t.note("restored", t.session->restore(snapshot) ? QString() : QStringLiteral("refused"));
            t.note("master data remembered", QFileInfo(t.session->masterData().rememberedFile()).fileName());
        } },
    { "a save that fails",
        [](DocumentLifeTest& t) {
            t.open(t.file());
            t.change();
            t.note("save into a missing folder", t.document().save(t.path(QStringLiteral("fehlt/x"))).message);
        } },
};

TEST_P(DocumentLifeTest, EachWayThroughADocumentsLife)
{
    for (const auto& [what, life] : lives) {
        SCOPED_TRACE(what);
        record += std::string("# ") + what + '\n';
        start();
        life(*this);
    }
    expectGolden(std::string("documents/golden/DocumentLife.") + (isOrder() ? "order" : "masterData") + ".txt", record);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DocumentLifeTest, ::testing::Values(EditedData::Order, EditedData::MasterData));

} // namespace
} // namespace kalkora::documents
