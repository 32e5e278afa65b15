#include "plot/surface/chart_colors.h"

#include "platform/system_colors.h"

namespace plot {


Color ColorToRGB(Color color) { return platform::ResolveColor(color); }

Color Darken(Color color, int amount) {
  const Color rgb = ColorToRGB(color);
  auto channel = [amount](int value) { return value > amount ? value - amount : 0; };
  return platform::Rgb(channel(platform::RedOf(rgb)), channel(platform::GreenOf(rgb)),
                       channel(platform::BlueOf(rgb)));
}

}  // namespace plot
