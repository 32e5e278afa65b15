#include <gmock/gmock.h>

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cctype>
#include <set>
#include <string>

#include "plot/chart/series_registry.h"
#include "plot/series/extended_series_kinds.h"
#include "plot/series/standard_series_kinds.h"

// plot-gallery run as a user runs it: one picture per registered series
// kind and calculated series, each titled and showing its series.

namespace {

struct GalleryRun {
  int status = -1;
  QString out, err;
};

GalleryRun Gallery(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(PLOT_GALLERY), arguments);
  GalleryRun run;
  if (!process.waitForFinished(60000)) return run;
  run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// The file the gallery names after a registry entry.
std::string FileNameOf(const plot::TSeriesTypeEntry& entry) {
  std::string name = entry.functionClass != typeid(void) ? "function-" : "";
  for (char c : entry.description) name += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name + ".png";
}

// Pixels of a strong colour (not white, grey or black) in a band of rows.
int ColouredPixels(const QImage& image, int top, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      count += c.saturation() > 100 && c.value() > 60 ? 1 : 0;
    }
  }
  return count;
}

void CheckPictures(const QString& dir, const GalleryRun& run) {
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  plot::RegisterStandardSeriesKinds();
  plot::RegisterExtendedSeriesKinds();
  std::set<std::string> expected;
  for (const plot::TSeriesTypeEntry& entry : plot::RegisteredSeriesTypes()) expected.insert(FileNameOf(entry));
  for (const char* name : {"line.png", "point.png", "bar.png", "area.png", "fast-line.png",
                           "horizontal-bar.png", "pie.png", "gantt.png", "arrow.png", "bubble.png", "shape.png", "function-add.png",
                           "function-subtract.png", "function-multiply.png", "function-divide.png",
                           "function-high.png", "function-low.png", "function-average.png"}) {
    EXPECT_TRUE(expected.count(name)) << name << " is not registered";
  }
  for (const std::string& name : expected) {
    const QString path = dir + "/" + QString::fromStdString(name);
    EXPECT_TRUE(run.out.contains(path)) << name << " not reported";
    QImage image(path);
    ASSERT_FALSE(image.isNull()) << name;
    EXPECT_EQ(image.size(), QSize(800, 600)) << name;
    // The blue title on top, and the series in colour below it.
    EXPECT_GT(ColouredPixels(image, 0, 50), 80) << name << ": no title";
    EXPECT_GT(ColouredPixels(image, 50, 600), 500) << name << ": no series";
  }
}

TEST(PlotGallery, WritesOneTitledPictureOfEveryRegisteredKindFlatAndInDepth) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString flat = dir.path() + "/flat", deep = dir.path() + "/deep/er";
  CheckPictures(flat, Gallery({flat}));
  CheckPictures(deep, Gallery({"--3d", deep}));
}

TEST(PlotGallery, RefusesBadArgumentsNamingWhatIsWrong) {
  QTemporaryDir dir;
  GalleryRun run = Gallery({});
  EXPECT_EQ(run.status, 2);
  EXPECT_THAT(run.err.toStdString(), ::testing::HasSubstr("usage: plot-gallery [--3d] OUTDIR"));
  run = Gallery({"--colour", dir.path()});
  EXPECT_EQ(run.status, 2);
  EXPECT_THAT(run.err.toStdString(), ::testing::HasSubstr("'--colour'"));
  // A file where the folder should be: nothing written, the path named.
  const QString file = dir.path() + "/taken";
  QFile(file).open(QIODevice::WriteOnly);
  run = Gallery({file});
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err.toStdString(), ::testing::HasSubstr(file.toStdString()));
  EXPECT_EQ(QFileInfo(file).size(), 0);
}

}  // namespace
