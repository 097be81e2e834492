#include "document/SaveCommands.h"
#include "document/SaveTexts.h"

#include "ViewTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>
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

// Save As writes the format the name's suffix names, through the same
// registry as kestrel-cli: the same bytes as kestrel-cli's file, and the
// status bar learns where it went.
TEST(SaveBitmapAsCommand, WritesTheFormatItsSuffixNames)
{
    const struct {
        const char* name;
        const char* starts;  // the format's first bytes
        bool sameAsCli;      // PDF files carry the time they were made
    } cases[] = {
        {"label.png", "\x89PNG", true}, {"LABEL.PNG", "\x89PNG", true},
        {"label.svg", "<?xml", true},   {"label.pdf", "%PDF", false},
        {"label.bmp", "BM", true},      {"label.dib", "BM", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SaveFixture fixture;
        QStringList saved;
        QObject::connect(&fixture.commands, &SaveCommands::Saved,
                         [&saved](const QString& name) { saved << name; });
        fixture.answer = fixture.folder.filePath(QString::fromUtf8(c.name));
        fixture.commands.OnSaveBitmapAs();
        const QByteArray written = ReadAll(fixture.answer);
        EXPECT_TRUE(written.startsWith(c.starts));
        EXPECT_EQ(saved, QStringList{fixture.answer});
        if (c.sameAsCli) {
            const QString cli = fixture.folder.filePath(QStringLiteral("cli-") + c.name);
            const QString command = QStringLiteral(
                                        "'%1' --profile '%2' --data 4901234567894 -o '%3'")
                                        .arg(QStringLiteral(KESTREL_CLI_PATH),
                                             fixture.folder.filePath("none.ini"), cli);
            ASSERT_EQ(std::system(command.toLocal8Bit().constData()), 0);
            EXPECT_EQ(written, ReadAll(cli));
        }
    }
}

// The dialog as Save As shows it, inspected without showing it: BMP first,
// then PNG, SVG, PDF and all files; a name typed without a suffix gets the
// chosen type's (BMP's for all files).
TEST(SaveBitmapAsDialog, OffersEveryFormatWithTheChosenTypesSuffix)
{
    QTemporaryDir folder;
    QFileDialog dialog(nullptr, QString(), folder.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    SaveCommands::ConfigureSaveAsDialog(dialog);

    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.nameFilters(), QStringList({"ビットマップファイル (*.bmp)",
                                                 "PNG ファイル (*.png)", "SVG ファイル (*.svg)",
                                                 "PDF ファイル (*.pdf)", "全てのファイル (*.*)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), "ビットマップファイル (*.bmp)");
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    ASSERT_FALSE(dialog.selectedFiles().isEmpty());
    EXPECT_EQ(QFileInfo(dialog.selectedFiles().constFirst()).fileName(), "BarCode.bmp");

    const struct {
        int type;  // its place in the list
        const char* typed;
        const char* named;
    } cases[] = {
        {0, "label", "label.bmp"},     {1, "label", "label.png"}, {2, "label", "label.svg"},
        {3, "label", "label.pdf"},     {4, "label", "label.bmp"}, {1, "label.pdf", "label.pdf"},
        {0, "label.dib", "label.dib"},
    };
    for (const auto& c : cases) {
        emit dialog.filterSelected(dialog.nameFilters().at(c.type));
        dialog.selectFile(QString::fromUtf8(c.typed));
        EXPECT_EQ(QFileInfo(dialog.selectedFiles().constFirst()).fileName(), c.named)
            << c.type << ' ' << c.typed;
    }
}

}  // namespace
}  // namespace kestrel
