#pragma once
// Graph pictures without a window, for the headless scanner: the same drawing as the graph
// windows, complete at once (every marker, no pauses), written as PNG or SVG.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <filesystem>
#include <string>

#include "evaluation/options.h"

namespace vk {

struct GraphRequest {
  enum class Kind { Success, Hcp };
  Kind kind = Kind::Success;
  int32_t language = 0;          // 0 English, 1 Japanese
  std::filesystem::path folder;  // the program folder; the tally files lie in its "DataFiles"
  OptionSet options;             // names the tally file of a success graph
  double scale = 1.0;            // pixels per picture pixel in a PNG (2 for a sharper picture)
};

// Creates an offscreen GUI application when the process has none (the headless scanner's case),
// so pictures can be drawn without a display. False with a message in a console application.
bool EnsureGuiApplication(std::string& error);

// Size of the picture: the graph window's drawing surface.
QSize GraphPictureSize();

// Draws the requested graph into `image`. False with a message when the tally file (or the
// HCP frequency file) is missing or cannot be read.
bool RenderGraphImage(const GraphRequest& request, QImage& image, std::string& error);

// Draws the graph and writes it to `out`: SVG when the name ends in ".svg", PNG when it ends in
// ".png". The file is written under a temporary name and renamed into place. Creates an
// offscreen GUI application when the process has none, so it runs without a display.
bool RenderGraph(const GraphRequest& request, const std::filesystem::path& out, std::string& error);

}  // namespace vk
