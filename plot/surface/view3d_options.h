#pragma once

#include <functional>

namespace plot {

/// The 3D view settings a chart panel publishes. Every setter stores a value
/// only when it differs and then asks the panel to repaint.
class TView3DOptions {
 public:
  /// `repaint` is the owning panel's repaint request (may be empty).
  explicit TView3DOptions(std::function<void()> repaint = {});

  /// Degrees about the horizontal screen axis.
  int Elevation() const { return elevation_; }
  void SetElevation(int value);
  /// Degrees about the vertical axis.
  int Rotation() const { return rotation_; }
  void SetRotation(int value);
  /// Degrees about the viewing axis.
  int Tilt() const { return tilt_; }
  void SetTilt(int value);
  /// 0 none; larger is stronger.
  int Perspective() const { return perspective_; }
  void SetPerspective(int value);
  /// Oblique 45-degree projection instead of the rotation.
  bool Orthogonal() const { return orthogonal_; }
  void SetOrthogonal(bool value);
  /// Percent scale of the projected drawing. OnZoomed sees the new value
  /// before it is stored.
  int Zoom() const { return zoom_; }
  void SetZoom(int value);
  /// Text is scaled with Zoom.
  bool ZoomText() const { return zoomText_; }
  void SetZoomText(bool value);
  /// Pixel shifts of the projection centre; OnScrolled follows a change
  /// (True for horizontal).
  int HorizOffset() const { return horizOffset_; }
  void SetHorizOffset(int value);
  int VertOffset() const { return vertOffset_; }
  void SetVertOffset(int value);

  /// Copies all nine values, with no notification and no repaint.
  void Assign(const TView3DOptions& source);

  std::function<void(bool horizontal)> OnScrolled;
  std::function<void(int zoom)> OnZoomed;

 private:
  void Repaint();

  std::function<void()> repaint_;
  int elevation_ = 345;
  int rotation_ = 345;
  int tilt_ = 0;
  int perspective_ = 15;
  bool orthogonal_ = true;
  int zoom_ = 100;
  bool zoomText_ = true;
  int horizOffset_ = 0;
  int vertOffset_ = 0;
};

}  // namespace plot
