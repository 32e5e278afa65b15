#include "platform/qt_gui/qt_pictures.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt_gui/qt_svg_device.h"

#include <cmath>

namespace platform {

QtBitmap::QtBitmap(int width, int height, bool monochrome, platform::Size pixelsPerInch, double devicePixelRatio)
    : image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32), monochrome_(monochrome) {
  image_.fill(Qt::white);
  if (devicePixelRatio > 0 && devicePixelRatio != 1.0) image_.setDevicePixelRatio(devicePixelRatio);
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

QtPictureMetafile::QtPictureMetafile(int width, int height) : width_(std::max(1, width)), height_(std::max(1, height)) {
  picture_.setBoundingRect(QRect(0, 0, width_ + 1, height_ + 1));
  painter_.begin(&picture_);
  // Fonts at screen size, whatever the recording's nominal resolution.
  canvas_.SetPixelsPerInch({96, 96});
  canvas_.Begin(&painter_);
}

QtPictureMetafile::~QtPictureMetafile() {
  canvas_.End();
  if (painter_.isActive()) painter_.end();
}

const QPicture& QtPictureMetafile::Picture() {
  if (painter_.isActive()) {
    canvas_.End();
    painter_.end();
    picture_.setBoundingRect(QRect(0, 0, width_ + 1, height_ + 1));
  }
  return picture_;
}

std::string QtPictureMetafile::Data() {
  const QPicture& picture = Picture();
  QtSvgDevice svg(QSize(width_ + 1, height_ + 1), QSize(width_ + 1, height_ + 1));
  QPainter painter;
  if (!painter.begin(&svg)) return {};
  painter.drawPicture(0, 0, picture);
  painter.end();
  const QByteArray document = svg.Document();
  return std::string(document.constData(), static_cast<std::size_t>(document.size()));
}

bool QtPictureMetafile::SaveToFile(const std::string& path) {
  const std::string data = Data();
  QFile file(QString::fromStdString(path));
  if (data.empty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(data.data(), static_cast<qint64>(data.size())) == static_cast<qint64>(data.size());
}

const QPicture* PictureOfMetafile(Metafile& metafile) {
  auto* qt = dynamic_cast<QtPictureMetafile*>(&metafile);
  return qt != nullptr ? &qt->Picture() : nullptr;
}

std::string RenderSvg(QSize logical, QSize pixels, const std::function<void(QtDeviceCanvas&)>& paint,
                      const QString& title) {
  QtSvgDevice svg(logical, pixels);
  svg.SetTitle(title);
  QPainter painter;
  if (!painter.begin(&svg)) return {};
  {
    QtDeviceCanvas canvas(&painter, &svg);
    paint(canvas);
    canvas.End();
  }
  painter.end();
  const QByteArray document = svg.Document();
  return std::string(document.constData(), static_cast<std::size_t>(document.size()));
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
