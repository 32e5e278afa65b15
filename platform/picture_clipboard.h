#pragma once

namespace platform {

class Bitmap;
class Metafile;

// The system clipboard, for copies of a chart picture.
class PictureClipboard {
 public:
  virtual ~PictureClipboard() = default;
  virtual void SetBitmap(const Bitmap& bitmap) = 0;
  // Places the recording's data; ends the recording.
  virtual void SetMetafile(Metafile& metafile) = 0;
};

}  // namespace platform
