// The assembler file that embeds every generated file into the game as one
// data image, in storage order, with a table of where each file lies.
#pragma once

#include <string>

// The text of assets/data_image.S for the catalogue's files.
std::string dataImageSource();
