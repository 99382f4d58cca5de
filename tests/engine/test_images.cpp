// Image handles and decoding: loading PNG and JPEG, sub-images and cells
// sharing pixels, release, and every way a bad file must fail quietly.
#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "engine/Headless.h"
#include "engine/ImageDecode.h"
#include "engine/Images.h"
#include "test_images_files.h"

namespace {

using test_images::Rgba;

class ImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    ASSERT_TRUE(dir.Ok());
  }
  void TearDown() override {
    DeleteAllImages();
    EngineEnd();
  }

  std::string WritePng(const std::string& name, int w, int h, const std::vector<uint32_t>& px) {
    const std::string path = dir.File(name);
    test_images::WriteBytes(path, test_images::PngBytes(w, h, px));
    return path;
  }

  test_images::TempDir dir;
};

TEST_F(ImagesTest, PngAndJpegLoadWithTheirSizesAndExactPngPixels) {
  std::vector<uint32_t> px(4 * 3, Rgba(10, 20, 30, 40));
  px[5] = Rgba(255, 128, 0, 255);
  const int png = LoadImageFile(WritePng("a.png", 4, 3, px).c_str());
  ASSERT_GT(png, 0);
  int w = 0, h = 0;
  EXPECT_EQ(GetImageSize(png, &w, &h), 0);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 3);
  const engine::ImageRef* ref = engine::FindImage(png);
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->surface->pixels, px);  // straight alpha, R in the lowest byte

  const std::string jpgPath = dir.File("b.jpg");
  test_images::WriteBytes(jpgPath, test_images::JpegBytes(16, 8, 200, 40, 90));
  const int jpg = LoadImageFile(jpgPath.c_str());
  ASSERT_GT(jpg, 0);
  EXPECT_NE(jpg, png);
  EXPECT_EQ(GetImageSize(jpg, &w, &h), 0);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 8);
  const uint32_t p = engine::FindImage(jpg)->surface->pixels[3 * 16 + 7];
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 200, 4);
  EXPECT_NEAR(static_cast<int>(p >> 8 & 0xFF), 40, 4);
  EXPECT_NEAR(static_cast<int>(p >> 16 & 0xFF), 90, 4);
  EXPECT_EQ(p >> 24, 0xFFu);
}

TEST_F(ImagesTest, FormatIsTakenFromTheContentNotTheName) {
  const std::string path = dir.File("really_png.jpg");
  test_images::WriteBytes(path, test_images::PngBytes(2, 2, test_images::Quadrants(2)));
  EXPECT_GT(LoadImageFile(path.c_str()), 0);
}

TEST_F(ImagesTest, BadFilesGiveMinusOneWithoutCrashing) {
  const std::vector<uint8_t> png = test_images::PngBytes(32, 32, test_images::Quadrants(32));
  const std::vector<uint8_t> jpg = test_images::JpegBytes(64, 64, 1, 2, 3);
  std::vector<uint8_t> pngCorrupt = png;
  for (size_t i = 40; i < pngCorrupt.size() - 12; ++i) pngCorrupt[i] ^= 0x5A;  // image data
  std::vector<uint8_t> pngBadHeader = png;
  pngBadHeader[18] = 0xFF;  // width's high byte: the header CRC no longer matches
  std::vector<uint8_t> jpgCorrupt = jpg;
  for (size_t i = 4; i < jpgCorrupt.size(); ++i) jpgCorrupt[i] = static_cast<uint8_t>(i * 7);
  const std::string text = "this is not a picture\n";

  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty.png", {}},
      {"empty.jpg", {}},
      {"truncated.png", std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2)},
      {"signature_only.png", std::vector<uint8_t>(png.begin(), png.begin() + 8)},
      {"corrupt.png", pngCorrupt},
      {"bad_header.png", pngBadHeader},
      {"truncated.jpg", std::vector<uint8_t>(jpg.begin(), jpg.begin() + jpg.size() / 2)},
      {"marker_only.jpg", std::vector<uint8_t>(jpg.begin(), jpg.begin() + 3)},
      {"corrupt.jpg", jpgCorrupt},
      {"notes.png", std::vector<uint8_t>(text.begin(), text.end())},
  };
  for (const auto& c : cases) {
    const std::string path = dir.File(c.name);
    test_images::WriteBytes(path, c.bytes);
    EXPECT_EQ(LoadImageFile(path.c_str()), -1) << c.name;
    int handles[4] = {};
    EXPECT_EQ(LoadImageCells(path.c_str(), 4, 2, 2, 1, 1, handles), -1) << c.name;
    EXPECT_EQ(DrawImageFile(0, 0, path.c_str(), true), -1) << c.name;
  }
  EXPECT_EQ(LoadImageFile(dir.File("missing.png").c_str()), -1);
  EXPECT_EQ(LoadImageFile(nullptr), -1);
  EXPECT_EQ(engine::ImageCount(), 0);  // nothing half-made is left behind
}

TEST_F(ImagesTest, DecoderRefusesHugeDeclaredSizesBeforeAllocating) {
  // A valid header declaring 100000 x 100000 pixels followed by nothing.
  std::vector<uint8_t> png = test_images::PngBytes(1, 1, {Rgba(1, 2, 3)});
  png[16] = 0x00;
  png[17] = 0x01;
  png[18] = 0x86;
  png[19] = 0xA0;
  png[20] = 0x00;
  png[21] = 0x01;
  png[22] = 0x86;
  png[23] = 0xA0;
  engine::DecodedImage out;
  EXPECT_FALSE(engine::DecodeImage(png.data(), png.size(), out));
  EXPECT_TRUE(out.pixels.empty());
  EXPECT_FALSE(engine::DecodeImage(nullptr, 0, out));
}

TEST_F(ImagesTest, SubImageClipsToItsSourceAndRefusesOriginsOutside) {
  const int src = LoadImageFile(WritePng("q.png", 8, 6, std::vector<uint32_t>(48)).c_str());
  ASSERT_GT(src, 0);
  int w = 0, h = 0;
  const int sub = CreateSubImage(5, 4, 10, 10, src);
  ASSERT_GT(sub, 0);
  EXPECT_EQ(GetImageSize(sub, &w, &h), 0);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);

  EXPECT_EQ(CreateSubImage(8, 0, 1, 1, src), -1);
  EXPECT_EQ(CreateSubImage(0, 6, 1, 1, src), -1);
  EXPECT_EQ(CreateSubImage(-1, 0, 1, 1, src), -1);
  EXPECT_EQ(CreateSubImage(0, 0, 0, 1, src), -1);
  EXPECT_EQ(CreateSubImage(0, 0, 1, 1, 0), -1);
  EXPECT_EQ(CreateSubImage(0, 0, 1, 1, 12345), -1);

  // A sub-image of a sub-image is measured against the inner rectangle.
  EXPECT_EQ(CreateSubImage(3, 0, 1, 1, sub), -1);
  const int inner = CreateSubImage(1, 1, 5, 5, sub);
  ASSERT_GT(inner, 0);
  EXPECT_EQ(GetImageSize(inner, &w, &h), 0);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(engine::FindImage(inner)->x, 6);
  EXPECT_EQ(engine::FindImage(inner)->y, 5);
}

TEST_F(ImagesTest, InvalidHandlesHaveNoSizeAndDeleteOnlyOnce) {
  int w = 7, h = 7;
  EXPECT_EQ(GetImageSize(0, &w, &h), -1);
  EXPECT_EQ(GetImageSize(-1, &w, &h), -1);
  EXPECT_EQ(GetImageSize(999999, &w, &h), -1);
  EXPECT_EQ(w, 7);  // untouched on failure
  const int a = LoadImageFile(WritePng("a.png", 2, 2, test_images::Quadrants(2)).c_str());
  ASSERT_GT(a, 0);
  EXPECT_EQ(DeleteImage(a), 0);
  EXPECT_EQ(DeleteImage(a), -1);
  EXPECT_EQ(GetImageSize(a, &w, &h), -1);
  EXPECT_EQ(DeleteImage(0), -1);
  // A new load never gets a released handle back.
  const int b = LoadImageFile(dir.File("a.png").c_str());
  EXPECT_GT(b, a);
}

TEST_F(ImagesTest, CellsAreCutRowByRowAndSharePixelsWithTheSheet) {
  // 3 x 2 cells of 4 x 5 pixels, each cell filled with its own index.
  std::vector<uint32_t> px(12 * 10);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) px[y * 12 + x] = Rgba((y / 5) * 3 + x / 4, 0, 0);
  }
  const std::string path = WritePng("cells.png", 12, 10, px);
  int handles[6] = {};
  ASSERT_EQ(LoadImageCells(path.c_str(), 5, 3, 2, 4, 5, handles), 0);
  EXPECT_EQ(engine::ImageCount(), 5);  // the sheet itself holds no handle
  const engine::Surface* shared = engine::FindImage(handles[0])->surface.get();
  for (int i = 0; i < 5; ++i) {
    const engine::ImageRef* cell = engine::FindImage(handles[i]);
    ASSERT_NE(cell, nullptr) << i;
    EXPECT_EQ(cell->surface.get(), shared) << i;
    EXPECT_EQ(cell->width, 4);
    EXPECT_EQ(cell->height, 5);
    const uint32_t first = shared->pixels[static_cast<size_t>(cell->y) * 12 + cell->x];
    EXPECT_EQ(static_cast<int>(first & 0xFF), i) << "cell " << i << " is not row by row";
  }
  EXPECT_EQ(handles[5], 0);  // only total handles are written

  // Deleting cells one by one leaves the others whole.
  EXPECT_EQ(DeleteImage(handles[0]), 0);
  EXPECT_EQ(engine::FindImage(handles[4])->surface->pixels, px);
  DeleteAllImages();
  EXPECT_EQ(engine::ImageCount(), 0);
}

TEST_F(ImagesTest, CellsThatDoNotFitTheSheetFail) {
  const std::string path = WritePng("small.png", 8, 8, std::vector<uint32_t>(64));
  int handles[8] = {};
  EXPECT_EQ(LoadImageCells(path.c_str(), 4, 2, 2, 5, 4, handles), -1);  // 10 px wide
  EXPECT_EQ(LoadImageCells(path.c_str(), 5, 2, 2, 4, 4, handles), -1);  // more than the grid
  EXPECT_EQ(LoadImageCells(path.c_str(), 0, 2, 2, 4, 4, handles), -1);
  EXPECT_EQ(LoadImageCells(path.c_str(), 4, 2, 2, 4, 0, handles), -1);
  EXPECT_EQ(LoadImageCells(path.c_str(), 4, 2, 2, 4, 4, nullptr), -1);
  EXPECT_EQ(engine::ImageCount(), 0);
  EXPECT_EQ(LoadImageCells(path.c_str(), 4, 2, 2, 4, 4, handles), 0);
}

TEST_F(ImagesTest, SourceAndSubImageAreReleasedSeparately) {
  const std::vector<uint32_t> px = test_images::Quadrants(4);
  const int src = LoadImageFile(WritePng("q.png", 4, 4, px).c_str());
  const int sub = CreateSubImage(2, 2, 2, 2, src);
  ASSERT_GT(sub, 0);
  EXPECT_EQ(DeleteImage(sub), 0);
  int w = 0, h = 0;
  EXPECT_EQ(GetImageSize(src, &w, &h), 0);
  EXPECT_EQ(w, 4);

  const int sub2 = CreateSubImage(2, 0, 2, 2, src);
  EXPECT_EQ(DeleteImage(src), 0);
  const engine::ImageRef* kept = engine::FindImage(sub2);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->surface->pixels, px);
  EXPECT_EQ(GetImageSize(sub2, &w, &h), 0);
  EXPECT_EQ(w, 2);
}

}  // namespace
