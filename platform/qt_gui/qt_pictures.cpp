#include "platform/qt_gui/qt_pictures.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QSvgGenerator>

#include <cmath>

namespace platform {

QtBitmap::QtBitmap(int width, int height, bool monochrome, platform::Size pixelsPerInch)
    : image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32), monochrome_(monochrome) {
  image_.fill(Qt::white);
  constexpr double kInchesPerMeter = 1 / 0.0254;
  image_.setDotsPerMeterX(static_cast<int>(std::lround(pixelsPerInch.cx * kInchesPerMeter)));
  image_.setDotsPerMeterY(static_cast<int>(std::lround(pixelsPerInch.cy * kInchesPerMeter)));
  painter_.begin(&image_);
  canvas_.Begin(&painter_);
}

QtBitmap::QtBitmap(const QImage& image) : image_(image.convertToFormat(QImage::Format_RGB32)) {
  painter_.begin(&image_);
  canvas_.Begin(&painter_);
}

QtBitmap::~QtBitmap() {
  canvas_.End();
  painter_.end();
}

const QImage& QtBitmap::Image() const {
  if (!monochrome_) return image_;
  // Each pixel becomes the nearer of black and white.
  monochromeView_ = image_.convertToFormat(QImage::Format_Grayscale8);
  for (int y = 0; y < monochromeView_.height(); ++y) {
    uchar* line = monochromeView_.scanLine(y);
    for (int x = 0; x < monochromeView_.width(); ++x) line[x] = line[x] >= 128 ? 255 : 0;
  }
  monochromeView_ = monochromeView_.convertToFormat(QImage::Format_RGB32);
  return monochromeView_;
}

bool QtBitmap::SaveToFile(const std::string& path) const {
  return Image().save(QString::fromStdString(path), "PNG");
}

QtSvgMetafile::QtSvgMetafile(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)), generator_(std::make_unique<QSvgGenerator>()) {
  buffer_.open(QIODevice::WriteOnly);
  generator_->setOutputDevice(&buffer_);
  generator_->setSize(QSize(width_, height_));
  generator_->setViewBox(QRect(0, 0, width_, height_));
  painter_.begin(generator_.get());
  canvas_.Begin(&painter_);
}

QtSvgMetafile::~QtSvgMetafile() {
  canvas_.End();
  if (painter_.isActive()) painter_.end();
}

std::string QtSvgMetafile::Data() {
  if (painter_.isActive()) {
    canvas_.End();
    painter_.end();
  }
  const QByteArray& bytes = buffer_.data();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool QtSvgMetafile::SaveToFile(const std::string& path) {
  const std::string data = Data();
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(data.data(), static_cast<qint64>(data.size())) == static_cast<qint64>(data.size());
}

void QtPictureClipboard::SetBitmap(const Bitmap& bitmap) {
  const QImage* image = ImageOfBitmap(bitmap);
  if (image != nullptr && QGuiApplication::clipboard() != nullptr) QGuiApplication::clipboard()->setImage(*image);
}

void QtPictureClipboard::SetMetafile(Metafile& metafile) {
  if (QGuiApplication::clipboard() == nullptr) return;
  const std::string data = metafile.Data();
  auto mime = std::make_unique<QMimeData>();
  mime->setData(QStringLiteral("image/svg+xml"), QByteArray(data.data(), static_cast<qsizetype>(data.size())));
  QGuiApplication::clipboard()->setMimeData(mime.release());
}

const QImage* ImageOfBitmap(const Bitmap& bitmap) {
  const auto* qt = dynamic_cast<const QtBitmap*>(&bitmap);
  return qt != nullptr ? &qt->Image() : nullptr;
}

std::shared_ptr<Bitmap> LoadBitmapFromFile(const std::string& path) {
  QImage image;
  if (!image.load(QString::fromStdString(path))) return nullptr;
  return std::make_shared<QtBitmap>(image);
}

}  // namespace platform
