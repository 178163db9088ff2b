// The folder list with real folders and a real scan thread, and the window title's texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/message_pump.h"
#include "folder/current_folder_image.h"
#include "tests/support/temp_dir.h"
#include "view_render/title_info.h"

using namespace folder;
using namespace std::chrono_literals;

using test_support::PumpUntil;

namespace {

void Touch(const std::wstring& path) { ASSERT_TRUE(test_support::Touch(path)) << "cannot create a file"; }

class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = dir_.path().substr(0, dir_.path().size() - 1);
    for (const wchar_t* name : {L"img2.jpg", L"img10.jpg", L"IMG1.png", L"notes.txt", L"b.webp"}) Touch(dir_.File(name));
    CreateDirectoryW(dir_.File(L"holiday.jpg").c_str(), nullptr);  // a folder named like a picture
    list_.SetListeners({[this](int index, int count) { positions_.emplace_back(index, count); },
                        [this](const std::wstring&, int index, const std::deque<std::wstring>&) { neighbours_ = index; },
                        [this] { return loop_; }});
  }
  void Open(const wchar_t* name) {
    list_.Update(nullptr, dir_.File(name));
    ASSERT_TRUE(PumpUntil([&] { return !list_.scanning(); }));
  }
  test_support::TempDir dir_;
  std::wstring folder_;
  CCurrentFolderImage list_;
  std::vector<std::pair<int, int>> positions_;
  int neighbours_ = -2;
  bool loop_ = false;
};

}  // namespace

TEST_F(FolderTest, ScanOrdersLogicallyAndSkipsFoldersAndOtherFiles) {
  list_.Update(nullptr, dir_.File(L"img2.jpg"));
  EXPECT_TRUE(list_.scanning());
  EXPECT_EQ(list_.names(), (std::deque<std::wstring>{L"img2.jpg"})) << "until the scan reports, only the picture";
  EXPECT_FALSE(list_.CanMove(1)) << "no moving while scanning";
  ASSERT_TRUE(PumpUntil([&] { return !list_.scanning(); }));
  EXPECT_EQ(list_.names(), (std::deque<std::wstring>{L"b.webp", L"IMG1.png", L"img2.jpg", L"img10.jpg"}));
  EXPECT_EQ(list_.current_index(), 2);
  EXPECT_EQ(positions_.back(), (std::pair<int, int>{2, 4}));
  EXPECT_EQ(neighbours_, 2);

  // Moving within the folder needs no new scan.
  list_.Update(nullptr, dir_.File(L"IMG10.JPG"));
  EXPECT_FALSE(list_.scanning());
  EXPECT_EQ(list_.current_index(), 3);
}

TEST_F(FolderTest, NeighboursWithAndWithoutLooping) {
  Open(L"b.webp");
  EXPECT_FALSE(list_.CanMove(-1));
  EXPECT_EQ(list_.GetNeighbourPath(-1), L"");
  EXPECT_EQ(list_.GetNeighbourPath(1), dir_.File(L"IMG1.png"));
  loop_ = true;
  EXPECT_EQ(list_.GetNeighbourPath(-1), dir_.File(L"img10.jpg")) << "previous at the first gives the last";
  Open(L"img10.jpg");
  EXPECT_EQ(list_.GetNeighbourPath(1), dir_.File(L"b.webp")) << "next at the last gives the first";
  loop_ = false;
  EXPECT_FALSE(list_.CanMove(1));
  EXPECT_EQ(list_.GetNeighbourPath(1), L"");
}

TEST_F(FolderTest, OnePictureNeverMovesAndDeletingWalksOn) {
  test_support::TempDir lonely(L"lonely");
  Touch(lonely.File(L"only.jpg"));
  list_.Update(nullptr, lonely.File(L"only.jpg"));
  ASSERT_TRUE(PumpUntil([&] { return !list_.scanning(); }));
  for (bool loop : {false, true}) {
    loop_ = loop;
    EXPECT_FALSE(list_.CanMove(1));
    EXPECT_FALSE(list_.CanMove(-1));
  }
  EXPECT_EQ(list_.RemoveAndGetNext(lonely.File(L"only.jpg")), L"");
  EXPECT_EQ(list_.current_index(), -1) << "reset";
  EXPECT_TRUE(list_.names().empty());

  Open(L"img10.jpg");
  EXPECT_EQ(list_.RemoveAndGetNext(dir_.File(L"img10.jpg")), dir_.File(L"img2.jpg")) << "the new last one";
  Open(L"IMG1.png");
  EXPECT_EQ(list_.RemoveAndGetNext(dir_.File(L"IMG1.png")), dir_.File(L"img2.jpg")) << "the one moving into its place";
}

TEST_F(FolderTest, OpeningDuringAScanStartsOver) {
  list_.Update(nullptr, dir_.File(L"img2.jpg"));
  ASSERT_TRUE(list_.scanning());
  list_.Update(nullptr, dir_.File(L"b.webp"));  // the same folder, but the scan is aborted anyway
  EXPECT_TRUE(list_.scanning());
  EXPECT_EQ(list_.names(), (std::deque<std::wstring>{L"b.webp"}));
  ASSERT_TRUE(PumpUntil([&] { return !list_.scanning(); }));
  EXPECT_EQ(list_.current_index(), 0);
  EXPECT_EQ(list_.names().size(), 4u);
}

TEST_F(FolderTest, ExplorerOrderIsMergedWithoutFoldersAndWithTheCurrentPicture) {
  CFolderScanResult scan;
  scan.subfolder_names = {L"holiday.jpg"};
  scan.names = {L"a.jpg", L"b.jpg", L"c.jpg"};
  MergeExplorerOrder({L"c.jpg", L"holiday.jpg", L"readme.txt", L"a.jpg", L"b.jpg"}, L"A.JPG", scan);
  EXPECT_EQ(scan.names, (std::vector<std::wstring>{L"c.jpg", L"a.jpg", L"b.jpg"}));
  EXPECT_EQ(scan.found_index, 1);
  CFolderScanResult other;
  other.names = {L"a.jpg", L"b.jpg"};
  MergeExplorerOrder({L"x.jpg"}, L"b.jpg", other);
  EXPECT_EQ(other.names, (std::vector<std::wstring>{L"a.jpg", L"b.jpg"})) << "the current one is not there";
  EXPECT_EQ(other.found_index, 1);
  std::atomic<int> cancel{0};
  EXPECT_TRUE(ExplorerOrder(folder_, cancel).empty()) << "no Explorer window on this folder";
}

namespace {

view_render::TitleTexts English() {
  view_render::TitleTexts t;
  t.key10 = L"pixels";
  t.key40 = L"[";
  t.key41 = L"]";
  return t;
}

view_render::TitleTexts Chinese() {
  view_render::TitleTexts t;
  t.key10 = L"千万像素";
  t.key11 = L"千";
  t.key12 = L"百万像素";
  t.key13 = L"约";
  t.key30 = L"年";
  t.key31 = L"月";
  t.key32 = L"日";
  t.key40 = L"第";
  t.key41 = L"张";
  t.chinese = t.cjk = true;
  return t;
}

}  // namespace

TEST(TitleText, MegapixelsDatesAndTitles) {
  using namespace view_render;
  const TitleTexts en = English(), cn = Chinese();
  EXPECT_EQ(MegapixelText(2000, 1500, en), L"3M pixels");
  EXPECT_EQ(MegapixelText(1000, 1000, en), L"");
  EXPECT_EQ(MegapixelText(1000, 1001, en), L"1M pixels");
  EXPECT_EQ(MegapixelText(999, 1001, cn), L"");
  EXPECT_EQ(MegapixelText(2000, 1500, cn), L"约3百万像素");
  EXPECT_EQ(MegapixelText(4000, 3250, cn), L"1千3百万像素");
  EXPECT_EQ(MegapixelText(5000, 4000, cn), L"2千万像素");
  EXPECT_EQ(DateText(L"2024:05:03 14:07:09", cn), L"2024年05月03日");
  EXPECT_EQ(DateText(L"2024:05:03 14:07:09", en), L"2024:05:03 14:07:09");
  EXPECT_EQ(DateText(L"2024:05:03", cn), L"2024:05:03") << "not six parts";
  EXPECT_EQ(PositionText(2, 10, en), L"[3/10]");
  EXPECT_EQ(PositionText(0, 1, cn), L"第1/1张");

  EXPECT_EQ(ComposeTitle(L"", 10, 10, L"", L"", L"[1/1]", 100), L"");
  EXPECT_EQ(ComposeTitle(L"a.jpg", 0, 0, L"", L"", L"[1/3]", 100), L"a.jpg - [1/3]");
  EXPECT_EQ(ComposeTitle(L"IMG_20200101_123456.jpg", 4000, 3000, L"12M pixels", L"2020:01:01 12:34:56", L"[4/9]", 25),
            L"IMG_202001...jpg ( 4000x3000 , 12M pixels , 2020:01:01 12:34:56 ) - [4/9] 25%");
  EXPECT_EQ(ComposeTitle(L"averylongname", 10, 20, L"", L"", L"[1/1]", 100), L"averylongn...averylongname ( 10x20 ) - [1/1] 100%");

  CTitleInfo info;
  info.SetTexts(en);
  info.SetPicture(L"C:\\photos\\IMG_20200101_123456.jpg", 2000, 1500, L"2020:01:01 12:34:56");
  info.SetPosition(3, 9);
  EXPECT_EQ(info.GetFileName(), L"IMG_20200101_123456.jpg");
  EXPECT_EQ(info.Title(), L"IMG_202001...jpg ( 2000x1500 , 3M pixels , 2020:01:01 12:34:56 ) - [4/9] 100%");
  info.SetZoomPercent(0.257);
  EXPECT_EQ(info.Title(), L"IMG_202001...jpg ( 2000x1500 , 3M pixels , 2020:01:01 12:34:56 ) - [4/9] 25%");
}
