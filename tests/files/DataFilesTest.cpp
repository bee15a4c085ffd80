#include "files/DataFiles.h"

#include "core/ExampleData.h"
#include "core/Golden.h"
#include "model/DmConversion.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace kalkora;
namespace examples = kalkora::testing;
using namespace kalkora::files;

namespace {

// A file system that hands out large files in pieces: while set, every read asking for more
// than this gets a piece, and the read after it "try again", which ends Qt's read early.
std::size_t readPiece = 0;
bool pieceGiven = false;

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    if (readPiece > 0 && count > readPiece) {
        pieceGiven = !pieceGiven;
        if (!pieceGiven) {
            errno = EAGAIN;
            return -1;
        }
        count = readPiece;
    }
    return syscall(SYS_read, fd, buffer, count);
}

namespace {

class DataFilesTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    void writeBytes(const QString& name, const std::string& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
    }

    std::string readBytes(const QString& name) const { return kalkora::testing::fileBytes(path(name).toStdString()); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(DataFilesTest, SavesAndLoadsThroughTheDisk)
{
    const CPlantData plant = examples::examplePlant();
    ASSERT_TRUE(saveMasterData(path("werk.sta"), plant).ok());
    EXPECT_EQ(readBytes("werk.sta"), encodeMasterData(plant));
    for (const float factor : { 1.0f, dmToEurFactor }) {
        CPlantData loadedPlant;
        const FileResult loadResult = loadMasterData(path("werk.sta"), factor, loadedPlant);
        ASSERT_TRUE(loadResult.ok());
        EXPECT_TRUE(loadResult.message.isEmpty());
        // Every part of the rates is money: they come from the converted values.
        EXPECT_NEAR(loadedPlant.machines.at(0)->fixedRate[0], 10.05 * factor, 1e-4) << factor;
        EXPECT_NEAR(loadedPlant.machines.at(0)->variableRate[1], 2.75 * factor, 1e-4) << factor;
    }

    // Saving again replaces the file; an order of several megabytes is written and read in pieces.
    ASSERT_TRUE(saveOrder(path("welle.auf"), examples::exampleOrder()).ok());
    for (const std::size_t nameLength : { std::size_t(12), std::size_t(9) << 20 }) {
        COrder changed = examples::exampleOrder();
        changed.name = std::string(nameLength, 'W');
        int reports = 0;
        ASSERT_TRUE(saveOrder(path("welle.auf"), changed, [&reports](std::int64_t, std::int64_t) {
            return ++reports > 0;
        }).ok());
        EXPECT_EQ(reports, nameLength > 100 ? 3 : 1);
        readPiece = 1 << 20;
        COrder loadedOrder;
        const FileResult loaded = loadOrder(path("welle.auf"), 1.0f, loadedOrder);
        readPiece = 0;
        ASSERT_TRUE(loaded.ok()) << loaded.message.toStdString();
        EXPECT_TRUE(encodeOrder(loadedOrder) == encodeOrder(changed)) << nameLength;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary files left
}

// Nothing is loaded from a missing file or from one cut at any length; the message names the file
// and the field by its label. Each run of cut lengths with the same message is stored beside the
// tests.
TEST_F(DataFilesTest, MissingAndDamagedFilesLeaveTheDataAlone)
{
    const std::string unchanged = encodeMasterData(examples::examplePlant()) + encodeOrder(examples::exampleOrder());
    CPlantData plant = examples::examplePlant();
    const FileResult missing = loadMasterData(path("fehlt.sta"), 1.0f, plant);
    EXPECT_EQ(missing.status, FileStatus::CannotOpen);
    EXPECT_TRUE(missing.message.contains(QStringLiteral("„fehlt.sta“"))) << missing.message.toStdString();
    EXPECT_EQ(encodeMasterData(plant) + encodeOrder(examples::exampleOrder()), unchanged);
    // A large file refused at its first field gives its pages back.
    writeBytes("gross.auf", std::string(std::size_t(9) << 20, '\xFF')); // a name longer than the file
    const auto mappedBytes = [] {
        std::size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    };
    const std::size_t before = mappedBytes();
    COrder target;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(loadOrder(path("gross.auf"), 1.0f, target).status, FileStatus::Damaged);
    EXPECT_LT(mappedBytes(), before + (std::size_t(9) << 20));

    // Long first names, so that a file cut inside any field of the first record still announces
    // no more records than it could hold.
    CPlantData plantData = examples::examplePlant({ "Drehmaschine 1", "Drehmaschine 2" });
    plantData.machines.at(0)->name = std::string(100, 'D');
    COrder orderData = examples::exampleOrder();
    orderData.operations.at(0)->name = std::string(100, 'D');
    std::string runs;
    for (const bool isOrder : { false, true }) {
        const std::string bytes = isOrder ? encodeOrder(orderData) : encodeMasterData(plantData);
        QString previous;
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            writeBytes("kaputt", bytes.substr(0, size));
            CPlantData loadedPlant = examples::examplePlant();
            COrder loadedOrder = examples::exampleOrder();
            const FileResult result = isOrder ? loadOrder(path("kaputt"), 1.0f, loadedOrder)
                                              : loadMasterData(path("kaputt"), 1.0f, loadedPlant);
            ASSERT_EQ(result.status, FileStatus::Damaged) << size;
            ASSERT_EQ(encodeMasterData(loadedPlant) + encodeOrder(loadedOrder), unchanged) << size;
            if (result.message != previous)
                runs += (isOrder ? "auf " : "sta ") + std::to_string(size) + ": " + result.message.toStdString() + "\n";
            previous = result.message;
        }
    }
    kalkora::testing::expectGolden("files/golden/damaged-fields.txt", runs);
}

TEST_F(DataFilesTest, FailedSavesAreReportedAndKeepTheOldFile)
{
    writeBytes("kein-ordner", "a plain file");
    FileResult result = saveOrder(path("kein-ordner/welle.auf"), examples::exampleOrder());
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.message.contains(QStringLiteral("„welle.auf“"))) << result.message.toStdString();

    // The target is a folder: the new file is written, but cannot replace it.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ordner.sta")));
    result = saveMasterData(path("ordner.sta"), examples::examplePlant());
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_TRUE(QFileInfo(path("ordner.sta")).isDir());

    writeBytes("alt.auf", "old contents");
    QFile::setPermissions(path("alt.auf"), QFileDevice::ReadOwner);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    result = saveOrder(path("alt.auf"), examples::exampleOrder());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (result.ok())
        GTEST_SKIP() << "running with rights that ignore file permissions";
    EXPECT_EQ(readBytes("alt.auf"), "old contents");
}
