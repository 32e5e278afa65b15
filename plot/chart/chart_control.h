#pragma once

#include <functional>
#include <string>

#include "plot/surface/chart_colors.h"

namespace platform {
class DeviceCanvas;
class PictureClipboard;
}  // namespace platform

namespace plot {

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

/// Keys and buttons held during a mouse event.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;
inline constexpr TShiftState ssDouble = 64;

/// Mouse pointer shapes; the host maps them to the window system's.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crHandPoint = -21;

/// The window that shows a control: the window-system side of painting,
/// cursors and the clipboard.
class TControlHost {
 public:
  virtual ~TControlHost() = default;
  /// Asks for a paint when the event loop next runs; requests in a burst
  /// give one paint.
  virtual void InvalidateControl() = 0;
  /// Paints now, before returning.
  virtual void RepaintControl() = 0;
  virtual void CursorChanged(TCursor cursor) = 0;
  /// The system clipboard; null where there is none.
  virtual platform::PictureClipboard* Clipboard() = 0;
};

class TCustomPanel;
using TNotifyEvent = std::function<void(TCustomPanel& sender)>;
using TMouseEvent = std::function<void(TCustomPanel& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TCustomPanel& sender, TShiftState shift, int x, int y)>;

/// A rectangular control with bevels, a background colour and a canvas of
/// its own. It knows nothing of the window system: a host forwards paint
/// and mouse events to it and turns its invalidation into window repaints.
class TCustomPanel {
 public:
  TCustomPanel();
  virtual ~TCustomPanel() = default;
  TCustomPanel(const TCustomPanel&) = delete;
  TCustomPanel& operator=(const TCustomPanel&) = delete;

  /// Component name (a print job's title).
  const std::string& Name() const { return name_; }
  void SetName(const std::string& value) { name_ = value; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  /// Moves or resizes; a change invalidates.
  void SetBounds(int left, int top, int width, int height);
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  /// (0, 0, Width, Height).
  Rect ClientRect() const { return {0, 0, width_, height_}; }

  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  plot::Color Color() const { return color_; }
  void SetColor(plot::Color value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  TControlHost* Host() const { return host_; }
  void SetHost(TControlHost* host) { host_ = host; }
  /// The control's own canvas, bound by the host; null when none.
  platform::DeviceCanvas* ControlCanvas() const { return controlCanvas_; }
  virtual void SetControlCanvas(platform::DeviceCanvas* canvas) { controlCanvas_ = canvas; }

  /// Asks the host for a paint later.
  virtual void Invalidate();
  /// Paints at once: through the host, or straight on the own canvas.
  void Repaint();
  /// The host's paint request.
  virtual void Paint() {}

  /// Mouse input from the host, in pixels of the control. The base fires
  /// the matching event.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  /// The pointer left the control.
  virtual void MouseLeave() {}

  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 private:
  std::string name_;
  int left_ = 0, top_ = 0, width_ = 400, height_ = 250;
  TPanelBevel bevelOuter_ = bvRaised;
  TPanelBevel bevelInner_ = bvNone;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  plot::Color color_ = clBtnFace;
  TCursor cursor_ = crDefault;
  TControlHost* host_ = nullptr;
  platform::DeviceCanvas* controlCanvas_ = nullptr;
};

}  // namespace plot
