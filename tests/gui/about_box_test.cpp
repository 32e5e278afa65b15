// Help, About: the version read back from the program file's own record.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/gui/tabout_box.h"
#include "app/version_info.h"

namespace {

const std::string kQuorvel = std::string(QUORVEL_BIN_DIR) + "/quorvel";

std::string ShowAndClose(gui::TAboutBox& box) {
  QTimer::singleShot(0, &box, [&box] { box.OKButton()->click(); });
  box.exec();
  return box.Label1()->text().toStdString();
}

TEST(AboutBox, ShowsTheFileVersionOfTheProgramEveryTime) {
  gui::TAboutBox box;
  box.ProgramPath = [] { return kQuorvel; };
  EXPECT_EQ(box.windowTitle().toStdString(), "About");
  EXPECT_EQ(box.Label1()->text().toStdString(), "0.0.0.0");  // until shown
  EXPECT_EQ(ShowAndClose(box), "1.0.0.15");
  box.Label1()->setText("changed");
  EXPECT_EQ(ShowAndClose(box), "1.0.0.15");  // recomputed at every showing
}

// Where a child sits in the box's coordinates.
QRect InBox(const QWidget& box, const QWidget* w) { return QRect(w->mapTo(&box, QPoint(0, 0)), w->size()); }

TEST(AboutBox, FixedTextsAndTheDesignedArrangement) {
  gui::TAboutBox box;
  QSize size = box.size();
  EXPECT_GE(size.width(), 298);
  EXPECT_GE(size.height(), 175);
  auto label = [&](const char* name) { return box.findChild<QLabel*>(name); };
  EXPECT_EQ(label("ProductName")->text().toStdString(), "Pellbrook Processing");
  EXPECT_EQ(label("Version")->text().toStdString(), "Version");
  EXPECT_EQ(box.OKButton()->text().toStdString(), "OK");
  EXPECT_TRUE(box.OKButton()->isDefault());

  // The icon left of the product name; the version text right of "Version"
  // on its row, both under the product name; the copyright under them all;
  // the button centred under the panel.
  QRect icon = InBox(box, box.findChild<QLabel*>("ProgramIcon"));
  QRect product = InBox(box, label("ProductName"));
  QRect version = InBox(box, label("Version"));
  QRect number = InBox(box, label("Label1"));
  QRect copyright = InBox(box, label("Copyright"));
  QRect panel = InBox(box, box.findChild<QWidget*>("Panel1"));
  QRect ok = InBox(box, box.OKButton());
  EXPECT_LT(icon.right(), product.left());
  EXPECT_EQ(version.left(), product.left());
  EXPECT_GT(version.top(), product.bottom());
  EXPECT_GT(number.left(), version.right());
  EXPECT_EQ(number.center().y(), version.center().y());
  EXPECT_GT(copyright.top(), std::max(icon.bottom(), version.bottom()));
  EXPECT_TRUE(panel.contains(copyright) && panel.contains(icon) && panel.contains(number));
  EXPECT_GT(ok.top(), panel.bottom());
  EXPECT_LE(std::abs(ok.center().x() - box.width() / 2), 1);
  EXPECT_GE(ok.width(), 75);
  EXPECT_GE(ok.height(), 25);
}

TEST(AboutBox, AProgramWithoutAVersionRecordShowsItsPath) {
  // The test program itself carries no version record.
  std::string self = QCoreApplication::applicationFilePath().toStdString();
  gui::TAboutBox box;
  box.ProgramPath = [self] { return self; };
  EXPECT_EQ(ShowAndClose(box), self);
  // The box grows for a long path instead of cutting it.
  QLabel* label1 = box.Label1();
  EXPECT_GE(label1->width(), label1->sizeHint().width());
  EXPECT_LE(label1->mapTo(&box, QPoint(label1->width(), 0)).x(), box.width());
}

TEST(VersionRecord, TheEmbeddedRecordHoldsTheProductStrings) {
  std::vector<char> raw = logger::ReadVersionInfo(kQuorvel);
  ASSERT_FALSE(raw.empty());
  auto info = logger::ParseVersionInfo(raw);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(logger::FileVersionText(info->fixed), "1.0.0.15");
  EXPECT_EQ(info->fixed.productVersionMS, 0x00010000u);
  EXPECT_EQ(info->fixed.productVersionLS, 14u);
  EXPECT_EQ(info->language, "080904E4");
  EXPECT_EQ(info->strings["CompanyName"], "Brindlemark");
  EXPECT_EQ(info->strings["ProductName"], "Pellbrook");
  EXPECT_EQ(info->strings["FileVersion"], "1.0.0.15");
  EXPECT_EQ(info->strings["ProductVersion"], "1.0.0.14");
  EXPECT_EQ(info->strings.count("LegalCopyright"), 1u);
  EXPECT_EQ(info->strings["LegalCopyright"], "");
}

TEST(VersionRecord, DamagedOrForeignFilesGiveNoVersionAndNoCrash) {
  std::string dir = ::testing::TempDir();
  struct Case {
    const char* name;
    std::string bytes;
  };
  std::string elfHeader(64, '\0');
  elfHeader[0] = 0x7F, elfHeader[1] = 'E', elfHeader[2] = 'L', elfHeader[3] = 'F', elfHeader[4] = 2, elfHeader[5] = 1;
  std::string hugeOffsets = elfHeader;
  for (int i = 0x28; i < 0x30; ++i) hugeOffsets[i] = '\xFF';  // section table far past the end
  hugeOffsets[0x3A] = 64, hugeOffsets[0x3C] = '\xFF', hugeOffsets[0x3D] = '\xFF';
  const Case cases[] = {
      {"empty", ""},
      {"text", "just some text, not a program"},
      {"truncated-elf", elfHeader.substr(0, 20)},
      {"elf-no-sections", elfHeader},
      {"elf-huge-offsets", hugeOffsets},
  };
  for (const Case& c : cases) {
    std::string path = dir + "/version-" + c.name;
    std::ofstream(path, std::ios::binary) << c.bytes;
    EXPECT_EQ(logger::VersionInfoSize(path), 0u) << c.name;
    EXPECT_EQ(logger::AboutVersionText(path), path) << c.name;
    std::remove(path.c_str());
  }
  EXPECT_EQ(logger::AboutVersionText("/nonexistent/program"), "/nonexistent/program");
  // A record whose signature is wrong is not a version record.
  std::vector<char> bogus(sizeof(logger::VersionRecordHeader) + 4, 0);
  EXPECT_FALSE(logger::ParseVersionInfo(bogus).has_value());
}

}  // namespace
