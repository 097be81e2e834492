// SaveBitmap's own steps on a fake off-screen picture: white first, the
// drawing over it, the depth from the profile, and the cases that write
// nothing. (kestrel-cli's tests save real pictures.)

#include "FakeSurface.h"

#include "LoadedDocument.h"
#include "document/BarCodeDoc.h"
#include "document/StoredStyle.h"
#include "export/SaveBitmap.h"
#include "profile/MemoryProfile.h"
#include "render/OffscreenCanvas.h"
#include "symbology/CodeValidator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace kestrel {
namespace {

class FakeCanvas : public OffscreenCanvas {
public:
    FakeCanvas(int width, int height, bool valid) : surface_(width, height), valid_(valid) {}

    bool IsValid() const override { return valid_; }
    DrawingSurface& Surface() override { return surface_; }
    RgbPicture Picture() const override
    {
        RgbPicture picture{surface_.Width(), surface_.Height(), {}};
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const Colour c = surface_.At(x, y);  // 0x00BBGGRR, or Blank if never painted
                picture.pixels.push_back(c == test::FakeSurface::Blank
                                             ? 0x123456U
                                             : (RedOf(c) << 16 | GreenOf(c) << 8 | BlueOf(c)));
            }
        }
        return picture;
    }

private:
    test::FakeSurface surface_;
    bool valid_;
};

class FakeCanvases : public OffscreenCanvasFactory {
public:
    std::unique_ptr<OffscreenCanvas> Create(int width, int height) override
    {
        requested = {width, height};
        return std::make_unique<FakeCanvas>(width, height, valid);
    }
    bool valid = true;
    std::pair<int, int> requested;
};

std::vector<unsigned char> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SaveBitmapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path()
                 / ("save-bitmap-"
                    + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        file = folder / "BarCode.bmp";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Save as the window does: the drawing and the depth read from the
    // profile at the time of saving.
    int Save(const std::string& fileName, SaveProblem* problem)
    {
        return SaveBitmap(ReadDrawing(doc, profile), profile.GetProfileInt("Settings", "Bitmap", 0),
                          canvases, fileName, problem);
    }

    MemoryProfile profile;
    WorkingGaps gaps;
    LoadedDocument doc{profile, gaps};
    FakeCanvases canvases;
    std::filesystem::path folder;
    std::filesystem::path file;
};

TEST_F(SaveBitmapTest, WritesTheDrawingOverWhiteAtTheChosenDepth)
{
    doc.CodeText = "4901234567894";
    doc.Width = 200;
    doc.Height = 80;
    ASSERT_EQ(EncodeNumber(doc.Encode(CodabarOptions{})), 1);
    profile.WriteProfileInt("Code", "BackColor", 0x00FF00);
    const struct {
        int choice;
        std::size_t size;
        int bitCount;
    } cases[] = {
        {0, 54 + 200 * 3 * 80, 24},
        {1, 54 + 200 * 3 * 80, 24},
        {7, 54 + 200 * 3 * 80, 24},  // an unknown choice keeps the display's format
        {2, 1078 + 200 * 80, 8},
    };
    for (const auto& c : cases) {
        profile.WriteProfileInt("Settings", "Bitmap", c.choice);
        SaveProblem problem = SaveProblem::NotWritten;
        ASSERT_EQ(Save(file.string(), &problem), 1);
        EXPECT_EQ(problem, SaveProblem::None);
        EXPECT_EQ(canvases.requested, std::make_pair(200, 80));
        const auto bytes = FileBytes(file);
        ASSERT_EQ(bytes.size(), c.size) << "choice " << c.choice;
        EXPECT_EQ(bytes[28], c.bitCount);
        if (c.bitCount == 24) {
            // The bottom-left pixel: the background colour, painted over the
            // white fill, stored blue, green, red.
            const std::size_t first = 54;
            EXPECT_EQ(bytes[first], 0x00);
            EXPECT_EQ(bytes[first + 1], 0xFF);
            EXPECT_EQ(bytes[first + 2], 0x00);
        }
    }
}

TEST_F(SaveBitmapTest, WritesNothingWithoutTextOrPicture)
{
    SaveProblem problem = SaveProblem::None;
    EXPECT_EQ(Save(file.string(), &problem), 0);
    EXPECT_EQ(problem, SaveProblem::NothingToSave);

    doc.CodeText = "4901234567894";
    doc.Encode(CodabarOptions{});
    canvases.valid = false;
    EXPECT_EQ(Save(file.string(), &problem), 0);
    EXPECT_EQ(problem, SaveProblem::NoPicture);
    EXPECT_FALSE(std::filesystem::exists(file));

    canvases.valid = true;
    EXPECT_EQ(Save((folder / "missing" / "x.bmp").string(), &problem), 0);
    EXPECT_EQ(problem, SaveProblem::NotWritten);
}

TEST(SaveFileName, IsBarCodeBmpBesideTheProgram)
{
    EXPECT_EQ(SaveFileNameBesideProgram("/opt/kestrel/bin/kestrel"),
              "/opt/kestrel/bin/BarCode.bmp");
    EXPECT_EQ(SaveFileNameBesideProgram("/kestrel"), "/BarCode.bmp");
    EXPECT_EQ(SaveFileNameBesideProgram("kestrel"), "BarCode.bmp");
    // A folder whose name holds a double-byte character keeps its bytes.
    EXPECT_EQ(SaveFileNameBesideProgram("/home/\xe8\xa1\xa8/kestrel"),
              "/home/\xe8\xa1\xa8/BarCode.bmp");
    // 4,095 bytes is the longest path; one more is refused.
    EXPECT_EQ(SaveFileNameBesideProgram("/" + std::string(4082, 'a') + "/kestrel").size(), 4095U);
    EXPECT_TRUE(SaveFileNameBesideProgram("/" + std::string(4083, 'a') + "/kestrel").empty());
}

}  // namespace
}  // namespace kestrel
