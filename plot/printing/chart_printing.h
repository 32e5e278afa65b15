#pragma once

#include "plot/chart/custom_plot_panel.h"
#include "platform/printer.h"

namespace plot {

/// Printing a chart panel on one page of the system printer: the page
/// rectangle from percentage margins (or from the chart's shape), and the
/// chart laid out on a logical area that the device stretches onto the page.

/// Margins (percent) that keep the chart's shape on a page of `pageWidth` x
/// `pageHeight` device pixels with the printer's resolution `ppi`.
Rect ProportionalMargins(const TCustomPlotPanel& panel, int pageWidth, int pageHeight, platform::Size ppi);

/// The printer rectangle the margins leave; with PrintProportional the
/// panel's PageMargins are first replaced by the proportional ones.
Rect CalcPageRect(TCustomPlotPanel& panel, const platform::Printer& printer);

/// The logical size the chart lays itself out on for a PrintDetail: the
/// screen size at 0, 1.5 times at -50, twice at -100.
platform::Size PrintLogicalSize(const TCustomPlotPanel& panel);

/// Draws the chart scaled into `rect` of any canvas (a printer page during a
/// job, a preview picture).
void PaintOnCanvas(TCustomPlotPanel& panel, platform::DeviceCanvas& canvas, Rect rect);

/// One page, one job, into `rect`. A failure aborts the job and is thrown
/// to the caller as ChartException with the printer's message.
void PrintInRect(TCustomPlotPanel& panel, platform::Printer& printer, const Rect& rect);

/// The whole chart on one page with the current settings.
void PrintPage(TCustomPlotPanel& panel, platform::Printer& printer);

}  // namespace plot
