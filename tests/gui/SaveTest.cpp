#include "document/SaveCommands.h"
#include "document/SaveTexts.h"

#include "ViewTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

namespace kestrel {
namespace {

using testing::TestDocument;

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A 300 × 150 picture: the BMP header says so.
bool IsDefaultBmp(const QByteArray& bytes)
{
    if (bytes.size() < 26 || !bytes.startsWith("BM")) {
        return false;
    }
    return qFromLittleEndian<qint32>(bytes.constData() + 18) == 300
           && qFromLittleEndian<qint32>(bytes.constData() + 22) == 150;
}

// The commands with a temporary folder as the program's folder, a chooser
// that answers as the test says and the messages recorded.
struct SaveFixture {
    QTemporaryDir folder;
    TestDocument document;
    SaveCommands commands;
    std::vector<QString> messages;
    int chooserCalls = 0;
    QString answer;  // what the Save As dialog "returns"

    explicit SaveFixture(const char* codeText = "4901234567894")
        : document(folder.filePath("kestrel").toStdString(), codeText),
          commands(document.doc, document.profile, nullptr,
                   folder.filePath("kestrel").toStdString())
    {
        commands.SetMessageSink([this](const QString& text) { messages.push_back(text); });
        commands.SetFileChooser([this](QWidget*) {
            ++chooserCalls;
            return answer;
        });
    }
    QString BesideProgram() const { return folder.filePath("BarCode.bmp"); }
};

// An earlier file is replaced without a question.
TEST(SaveBitmapCommand, WritesBarCodeBmpBesideTheProgram)
{
    SaveFixture fixture;
    WriteFile(fixture.BesideProgram(), "an older picture");
    fixture.commands.OnSaveBitmap();
    EXPECT_TRUE(IsDefaultBmp(ReadAll(fixture.BesideProgram())));
    EXPECT_TRUE(fixture.messages.empty());
    EXPECT_EQ(fixture.chooserCalls, 0);
}

TEST(SaveBitmapCommand, EmptyCodeTextDoesNothing)
{
    SaveFixture fixture("");
    fixture.answer = fixture.folder.filePath("chosen.bmp");
    fixture.commands.OnSaveBitmap();
    fixture.commands.OnSaveBitmapAs();
    EXPECT_FALSE(QFile::exists(fixture.BesideProgram()));
    EXPECT_FALSE(QFile::exists(fixture.answer));
    EXPECT_EQ(fixture.chooserCalls, 0);
    EXPECT_TRUE(fixture.messages.empty());
}

// The program's path comes as the file system spells it, so a folder with
// Japanese in its name is found.
TEST(SaveBitmapCommand, FindsAProgramFolderWithJapaneseInItsName)
{
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("山田の表"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::string programPath =
        QFile::encodeName(folder + QStringLiteral("/kestrel")).toStdString();
    TestDocument document(programPath, "4901234567894");
    SaveCommands commands(document.doc, document.profile, nullptr, programPath);
    std::vector<QString> messages;
    commands.SetMessageSink([&](const QString& text) { messages.push_back(text); });
    commands.OnSaveBitmap();
    EXPECT_TRUE(IsDefaultBmp(ReadAll(folder + QStringLiteral("/BarCode.bmp"))));
    EXPECT_TRUE(messages.empty());
}

// Each failure is told, with the name it concerned; none is silent.
TEST(SaveBitmapCommand, FailuresAreReported)
{
    struct Row {
        const char* name;
        std::string programPath;  // relative to the temporary folder
        int width;
        const char* message;
    };
    const Row rows[] = {
        {"folder missing", "no/such/folder/kestrel", 300, texts::SaveFailed},
        {"name too long for a path", std::string(4100, 'k') + "/kestrel", 300,
         texts::SaveNameTooLong},
        {"picture too large", "kestrel", 40000, texts::SaveFailed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir folder;
        TestDocument document;
        document.doc.Width = row.width;
        const std::string programPath =
            folder.filePath(QString::fromStdString(row.programPath)).toStdString();
        SaveCommands commands(document.doc, document.profile, nullptr, programPath);
        std::vector<QString> messages;
        commands.SetMessageSink([&](const QString& text) { messages.push_back(text); });

        commands.OnSaveBitmap();

        ASSERT_EQ(messages.size(), 1U);
        EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(row.message)))
            << messages[0].toStdString();
        if (row.message == texts::SaveFailed) {
            EXPECT_TRUE(messages[0].endsWith("BarCode.bmp")) << messages[0].toStdString();
        }
    }
}

TEST(SaveBitmapAsCommand, WritesWhereTheUserChose)
{
    SaveFixture fixture;
    fixture.answer = fixture.folder.filePath("ラベル 1.bmp");
    fixture.commands.OnSaveBitmapAs();
    EXPECT_EQ(fixture.chooserCalls, 1);
    EXPECT_TRUE(IsDefaultBmp(ReadAll(fixture.answer)));
    EXPECT_FALSE(QFile::exists(fixture.BesideProgram()));
    EXPECT_TRUE(fixture.messages.empty());
}

TEST(SaveBitmapAsCommand, CancelTouchesNothing)
{
    SaveFixture fixture;
    WriteFile(fixture.BesideProgram(), "keep");
    fixture.answer.clear();
    fixture.commands.OnSaveBitmapAs();
    EXPECT_EQ(fixture.chooserCalls, 1);
    EXPECT_EQ(ReadAll(fixture.BesideProgram()), "keep");
    EXPECT_EQ(QDir(fixture.folder.path()).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(fixture.messages.empty());
}

TEST(SaveBitmapAsCommand, FailureNamesTheChosenFile)
{
    SaveFixture fixture;
    fixture.answer = fixture.folder.filePath("gone/label.bmp");
    fixture.commands.OnSaveBitmapAs();
    ASSERT_EQ(fixture.messages.size(), 1U);
    EXPECT_EQ(fixture.messages[0], QString::fromUtf8(texts::SaveFailed) + "\n" + fixture.answer);
}

// The dialog as Save As shows it, inspected without showing it.
TEST(SaveBitmapAsDialog, OffersBitmapsAndAllFilesWithBmpAsSuffix)
{
    QTemporaryDir folder;
    QFileDialog dialog(nullptr, QString(), folder.path());
    SaveCommands::ConfigureSaveAsDialog(dialog);

    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.nameFilters(),
              QStringList({"ビットマップファイル (*.bmp)", "全てのファイル (*.*)"}));
    EXPECT_EQ(dialog.defaultSuffix(), "bmp");
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    ASSERT_FALSE(dialog.selectedFiles().isEmpty());
    EXPECT_EQ(QFileInfo(dialog.selectedFiles().constFirst()).fileName(), "BarCode.bmp");

    // A name typed without a suffix gets ".bmp"; one with a suffix keeps it.
    dialog.selectFile("label");
    EXPECT_EQ(QFileInfo(dialog.selectedFiles().constFirst()).fileName(), "label.bmp");
    dialog.selectFile("label.dib");
    EXPECT_EQ(QFileInfo(dialog.selectedFiles().constFirst()).fileName(), "label.dib");
}

}  // namespace
}  // namespace kestrel
