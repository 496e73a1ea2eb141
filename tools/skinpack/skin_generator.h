#pragma once
// What the bundled skins' picture generators share: every control section of a description drawn in the look
// it names, and the program around a generator (read the description, draw, write each picture under the
// name the description gives it).
#include "skin/skin_description.h"

#include <QImage>

#include <functional>
#include <map>
#include <string>

namespace dorvanel::skinpack {

// The look of each control section, by section name.
using TSectionLooks = std::map<std::string, std::function<void(const std::string& section)>>;

// Draws every section listed under [SKINCONTROLS] in its look. A section without a look is an error, so that
// a description and its pictures cannot drift apart unnoticed.
void DrawControlSections(const skin::TSkinDescription& description, const TSectionLooks& looks);

// The pictures drawn, by picture list index; -1 is the frame picture, -2 its mask.
using TDrawnPictures = std::map<int, QImage>;

// main() of a generator, run headless as `<tool> <description.skn> <output folder>`: draws the pictures and
// writes them as Windows bitmaps under their names from [PICTURES]. Returns the exit code.
int RunGenerator(int argc, char** argv, const char* tool,
                 const std::function<TDrawnPictures(const skin::TSkinDescription&)>& draw);

}  // namespace dorvanel::skinpack
